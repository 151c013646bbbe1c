#include "model/GameCatalogue.h"
#include "model/GameCatalogueReader.h"

#include <gtest/gtest.h>

namespace {

QByteArray catalogueOf(const QByteArray& games)
{
    return "{\"games\": [" + games + "]}";
}

GameCatalogueReader::Result builtIn()
{
    return GameCatalogueReader::read(GameCatalogue::builtInJson());
}

const GameDescription& gameIn(const QList<GameDescription>& games, const QString& id)
{
    const auto found = std::find_if(games.cbegin(), games.cend(), [&id](const GameDescription& game) { return game.id == id; });
    if (found == games.cend())
        throw std::runtime_error("no game " + id.toStdString());
    return *found;
}

}  // namespace

TEST(GameCatalogueReaderTest, builtInCatalogueDescribesTheNineGamesInOrder)
{
    const GameCatalogueReader::Result result = builtIn();
    ASSERT_EQ(result.error, QString());
    QStringList ids;
    for (const GameDescription& game : result.games)
        ids.append(game.id);
    EXPECT_EQ(ids, QStringList({"cod", "uo", "cod2", "cod4", "urt", "quake3", "openarena", "xonotic", "nexuiz"}));
    for (const GameDescription& game : result.games) {
        EXPECT_FALSE(game.masters.isEmpty()) << game.id.toStdString();
        EXPECT_FALSE(game.launchers.isEmpty()) << game.id.toStdString();
        EXPECT_FALSE(game.defaultPorts.isEmpty()) << game.id.toStdString();
        EXPECT_EQ(game.statusKeys.name, QStringList({"sv_hostname", "hostname"})) << game.id.toStdString();
    }
}

TEST(GameCatalogueReaderTest, builtInMastersCarryTheirWire)
{
    const QList<GameDescription> games = builtIn().games;
    const GameDescription& cod4 = gameIn(games, "cod4");
    EXPECT_EQ(cod4.settingsPrefix, "CoD4");
    const MasterDescription& cod4x = cod4.masters.at(1);
    EXPECT_EQ(cod4x.transport, MasterDescription::Transport::Tcp);
    EXPECT_EQ(cod4x.entryPrefix, QByteArray("\0\0\0\0\4", 5));
    EXPECT_EQ(cod4x.listEnd, MasterDescription::ListEnd::StreamEnd);
    EXPECT_EQ(cod4.masters.at(0).listEnd, MasterDescription::ListEnd::EndOfTransmissionWithNul);

    const GameDescription& cod = gameIn(games, "cod");
    EXPECT_EQ(cod.masters.at(0).keywords, "empty full");
    EXPECT_EQ(cod.masters.at(1).keywords, "");

    const GameDescription& xonotic = gameIn(games, "xonotic");
    EXPECT_EQ(xonotic.colours, GameDescription::ColourDialect::DarkPlaces);
    EXPECT_EQ(xonotic.playerLines, GameDescription::PlayerLineGrammar::DarkPlaces);
    EXPECT_FALSE(xonotic.admin.mapListing);
    EXPECT_EQ(gameIn(games, "openarena").masters.at(0).gameName, "Quake3Arena");
    EXPECT_EQ(gameIn(games, "quake3").masters.at(1).listEnd, MasterDescription::ListEnd::Silence);
    EXPECT_EQ(gameIn(games, "nexuiz").admin.ban, "");
}

// The ioquake3 and DarkPlaces servers echo a status query's challenge; the Call of
// Duty servers do not, and a query that carries one would be answered the same.
TEST(GameCatalogueReaderTest, theGamesWhoseServersEchoTheChallengeSaySo)
{
    QStringList echoing;
    for (const GameDescription& game : builtIn().games) {
        if (game.statusEchoesChallenge)
            echoing.append(game.id);
    }
    EXPECT_EQ(echoing, QStringList({"urt", "quake3", "openarena", "xonotic", "nexuiz"}));
}

TEST(GameCatalogueReaderTest, fieldsLeftOutTakeTheDefaults)
{
    const GameCatalogueReader::Result result = GameCatalogueReader::read(
        catalogueOf(R"({"id": "q", "name": "Q", "masters": [{"host": "m.example", "port": 27950, "protocols": [68]}]})"));
    ASSERT_EQ(result.error, QString());
    const GameDescription& game = result.games.at(0);
    EXPECT_EQ(game.iconLabel, "q");
    EXPECT_EQ(game.colours, GameDescription::ColourDialect::CaretDigit);
    EXPECT_EQ(game.statusKeys.password, QStringList({"g_needpass", "pswrd"}));
    EXPECT_EQ(game.statusKeys.gametype, QStringList({"g_gametype"}));
    EXPECT_EQ(game.joinArguments, QStringList({"+connect", "{address}"}));
    EXPECT_EQ(game.passwordArguments, QStringList({"+password", "{password}"}));
    EXPECT_EQ(game.admin.kickBySlot, "clientKick {slot}");
    EXPECT_EQ(game.admin.ban, "banUser {name}");
    EXPECT_FALSE(game.statusEchoesChallenge);
    const MasterDescription& master = game.masters.at(0);
    EXPECT_EQ(master.transport, MasterDescription::Transport::Udp);
    EXPECT_EQ(master.request, "getservers {game} {protocol} {keywords}");
    EXPECT_EQ(master.keywords, "empty full");
    EXPECT_EQ(master.label(), "m.example:27950");
}

TEST(GameCatalogueReaderTest, aFaultIsNamedWithItsPlace)
{
    const struct {
        QByteArray json;
        QString error;
    } cases[] = {
        {"{\"games\": [", "not JSON at byte"},
        {"[1, 2]", "expected an object with a list \"games\""},
        {catalogueOf("3"), "games[0]: expected an object"},
        {catalogueOf(R"({"id": "Bad Id", "name": "x"})"), "games[0].id: expected a short id"},
        {catalogueOf(R"({"id": "x"})"), "game \"x\".name: expected the game's name"},
        {catalogueOf(R"({"id": "x", "name": "X"}, {"id": "x", "name": "Y"})"), "game \"x\": the id is given twice"},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 70000, "protocols": [1]}]})"),
         "game \"x\".masters[0].port: expected a whole number from 1 to 65535"},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 1.5, "protocols": [1]}]})"),
         "game \"x\".masters[0].port: expected a whole number"},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 1, "protocols": []}]})"),
         "game \"x\".masters[0].protocols: expected at least one protocol number"},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 1, "protocols": [1], "transport": "sctp"}]})"),
         "game \"x\".masters[0].transport: expected one of \"udp\", \"tcp\""},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 1, "protocols": [1], "entryPrefix": "0g"}]})"),
         "game \"x\".masters[0].entryPrefix: expected pairs of hex digits"},
        {catalogueOf(R"({"id": "x", "name": "X", "masters": [{"host": "m", "port": 1, "protocols": [1], "request": "getservers"}]})"),
         "game \"x\".masters[0].request: expected {protocol}"},
        {catalogueOf(R"({"id": "x", "name": "X", "gametypes": [["dm"]]})"), "game \"x\".gametypes[0]: expected [id, name]"},
        {catalogueOf(R"({"id": "x", "name": "X", "launchers": ["a", 2]})"), "game \"x\".launchers[1]: expected a text"},
        {catalogueOf(R"({"id": "x", "name": "X", "colours": "html"})"), "game \"x\".colours: expected one of"},
        {catalogueOf(R"({"id": "x", "name": "X", "statusChallenge": "yes"})"),
         "game \"x\".statusChallenge: expected true or false"},
    };
    for (const auto& each : cases) {
        const GameCatalogueReader::Result result = GameCatalogueReader::read(each.json);
        EXPECT_TRUE(result.error.startsWith(each.error)) << result.error.toStdString() << " for " << each.json.toStdString();
        EXPECT_TRUE(result.games.isEmpty());
    }
}

TEST(GameCatalogueReaderTest, userGamesReplaceTheFieldsTheyGiveAndNewOnesComeLast)
{
    const QByteArray user = catalogueOf(R"({"id": "cod4", "name": "CoD 4 - mine", "launchers": ["cod4-wine"]},
                                           {"id": "q3a", "name": "Q3 mod", "gameNames": ["mymod"],
                                            "masters": [{"host": "127.0.0.1", "port": 27950, "protocols": [68]}]})");
    const GameCatalogueReader::Result result = GameCatalogueReader::readMerged(GameCatalogue::builtInJson(), user);
    ASSERT_EQ(result.error, QString());
    ASSERT_EQ(result.games.size(), 10);
    const GameDescription& cod4 = gameIn(result.games, "cod4");
    EXPECT_EQ(cod4.name, "CoD 4 - mine");
    EXPECT_EQ(cod4.launchers, QStringList({"cod4-wine"}));
    EXPECT_EQ(cod4.masters, gameIn(builtIn().games, "cod4").masters);
    EXPECT_EQ(result.games.at(3).id, "cod4");
    EXPECT_EQ(result.games.last().id, "q3a");

    const GameCatalogueReader::Result broken =
        GameCatalogueReader::readMerged(GameCatalogue::builtInJson(), catalogueOf(R"({"id": "cod4", "ports": ["x"]})"));
    EXPECT_TRUE(broken.error.startsWith("game \"cod4\".ports[0]:")) << broken.error.toStdString();
}
