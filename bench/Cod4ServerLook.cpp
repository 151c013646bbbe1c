#include "Cod4ServerLook.h"

namespace {

template <typename Item>
const Item& pick(std::mt19937& random, const std::vector<Item>& items)
{
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

QByteArray pair(const QByteArray& key, const QByteArray& value)
{
    return "\\" + key + "\\" + value;
}

}  // namespace

void Cod4ServerLook::dress(std::vector<GameServerFarm::Server>& servers, unsigned seed)
{
    static const std::vector<QByteArray> maps = {"mp_crash", "mp_strike", "mp_backlot", "mp_crossfire",
                                                 "mp_citystreets", "mp_bog", "mp_overgrown", "mp_vacant",
                                                 "mp_showdown", "mp_pipeline", "mp_convoy", "mp_killhouse"};
    static const std::vector<QByteArray> gametypes = {"war", "dm", "sd", "dom", "koth", "sab"};
    static const std::vector<QByteArray> maxClientChoices = {"18", "24", "32"};
    std::mt19937 random(seed);
    for (GameServerFarm::Server& server : servers) {
        server.gameName = "Call of Duty 4";
        server.mapName = pick(random, maps);
        server.gametype = pick(random, gametypes);
        server.maxClients = pick(random, maxClientChoices);
        server.moreKeys = moreKeys(random);
    }
}

QByteArray Cod4ServerLook::moreKeys(std::mt19937& random)
{
    std::bernoulli_distribution often(0.7);
    std::bernoulli_distribution rarely(0.1);
    std::uniform_int_distribution<int> privateSlots(0, 4);
    const QByteArray yesNo[] = {"0", "1"};
    return pair("_Admin", "^3Admin") + pair("_Location", "Europe") + pair("fs_game", rarely(random) ? "mods/pml220" : "")
           + pair("g_compassShowEnemies", "0") + pair("protocol", "6") + pair("shortversion", "1.7")
           + pair("sv_allowAnonymous", "0") + pair("sv_disableClientConsole", "0") + pair("sv_floodprotect", "4")
           + pair("sv_hardcore", yesNo[rarely(random)]) + pair("sv_maxPing", "0") + pair("sv_maxRate", "25000")
           + pair("sv_minPing", "0") + pair("sv_privateClients", QByteArray::number(privateSlots(random)))
           + pair("sv_punkbuster", yesNo[often(random)]) + pair("sv_pure", "1") + pair("sv_voice", "0")
           + pair("ui_maxclients", "32") + pair("pswrd", yesNo[rarely(random)]) + pair("mod", "0");
}
