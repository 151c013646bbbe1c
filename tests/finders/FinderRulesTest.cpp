#include "FinderRecords.h"

#include "app/Preferences.h"
#include "finders/FavoritePlayers.h"
#include "finders/GameChoices.h"
#include "finders/PlayerColumns.h"
#include "finders/ServerColumns.h"
#include "finders/ServerFilter.h"
#include "support/TableCells.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

namespace {

// Whether each server passes the filter: "+" or "-", in order.
std::string verdicts(const ServerFilter& filter, const QList<FinderServer>& servers)
{
    std::string marks;
    for (const FinderServer& server : servers)
        marks += filter.passes(*server.make()) ? '+' : '-';
    return marks;
}

}  // namespace

TEST(ServerFilterTest, aServerPassesOnlyWhatEveryFilterAllows)
{
    // Without a number of slots a server counts as both empty and full.
    const QList<FinderServer> sizes = {{}, {.players = 0}, {.players = 20}, {.players = 0, .maxClients = "many"}};
    ServerFilter filter;
    EXPECT_EQ(verdicts(filter, sizes), "+---");
    filter.showEmpty = true;
    EXPECT_EQ(verdicts(filter, sizes), "++--");
    filter.showFull = true;
    EXPECT_EQ(verdicts(filter, sizes), "++++");

    filter.name = "ali";
    EXPECT_EQ(verdicts(filter, {{.name = "dALI server"}, {.name = "Bali"}, {.name = "al i"}}), "++-");
    filter.name.clear();
    // The password and PunkBuster flags are read as numbers.
    filter.hidePassword = true;
    EXPECT_EQ(verdicts(filter, {{.passActive = " 1"}, {.passActive = "2"}}), "-+");
    filter.onlyPunkBuster = true;
    EXPECT_EQ(verdicts(filter, {{.punkBuster = "1"}, {.punkBuster = "yes"}, {}}), "+--");

    // The ping limit and the minimum of players are inclusive; an unknown ping passes.
    filter = ServerFilter();
    filter.pingLimit = 100;
    filter.minPlayers = 2;
    EXPECT_EQ(verdicts(filter, {{.players = 2, .ping = "Ping: 100 ms"}, {.players = 2, .ping = "Ping: 101 ms"},
                                {.players = 2, .ping = "Ping: --- ms"}, {.players = 1}}),
              "+-+-");

    // Maps and gametypes match whole, in any case; only "All" itself passes every one.
    filter = ServerFilter();
    filter.map = "mp_carentan";
    filter.gametype = "tdm";
    EXPECT_EQ(verdicts(filter, {{.map = "MP_Carentan", .gametype = "TDM"}, {.map = "mp_car", .gametype = "tdm"},
                                {.map = "mp_carentan", .gametype = "dm"}}),
              "+--");
    filter.map = "all";
    EXPECT_EQ(verdicts(filter, {{.gametype = "tdm"}}), "-");

    const QList<CodServerPtr> servers = {FinderServer{.name = "b1"}.make(), FinderServer{.name = "a1"}.make(),
                                         FinderServer{.name = "a2"}.make()};
    filter = ServerFilter();
    filter.name = "a";
    EXPECT_EQ(namesOf(filter.apply(servers)), QStringList({"a1", "a2"}));
}

TEST(GameChoicesTest, distinctLowercaseChoicesFollowAllInOrderOfFirstAppearance)
{
    QList<CodServerPtr> servers;
    for (const auto& [gametype, map] : {std::pair{"SD", "mp_Harbor"}, {"", "mp_toujane"}, {"dm", ""},
                                        {"sd", "MP_HARBOR"}})
        servers.append(FinderServer{.map = map, .gametype = gametype}.make());
    const GameChoices choices = GameChoices::of(servers);
    EXPECT_EQ(choices.gametypes, QStringList({"All", "sd", "dm"}));
    EXPECT_EQ(choices.maps, QStringList({"All", "mp_harbor", "mp_toujane"}));
}

TEST(ServerColumnsTest, cellsShowThePingThePlayersAndTheFlags)
{
    const CodServerPtr server = FinderServer{.passActive = " 1x"}.make();
    const CodServerPtr unanswered = FinderServer{.players = 0, .maxClients = "abc", .ping = "Ping: --- ms"}.make();
    EXPECT_EQ(ServerColumns::objectValue(*server, "ping"), QVariant(" 50 ms"));
    EXPECT_EQ(ServerColumns::objectValue(*unanswered, "ping"), QVariant("--- ms"));
    EXPECT_EQ(ServerColumns::objectValue(*server, "players"), QVariant("1/20"));
    EXPECT_EQ(ServerColumns::objectValue(*unanswered, "players"), QVariant("0/abc"));
    EXPECT_EQ(ServerColumns::objectValue(*server, "serverPassActive"), QVariant(1));
    EXPECT_FALSE(ServerColumns::objectValue(*server, "noSuchField").isValid());
    for (const auto& [value, shown] : {std::pair{"0", "Off"}, {"", "Off"}, {"1", "On"}, {"2", "Reflect"},
                                       {"-1", "Reflect"}}) {
        server->setServerFriendlyFire(value);
        EXPECT_EQ(ServerColumns::objectValue(*server, "serverFriendlyFire"), QVariant(shown)) << value;
    }
}

TEST(ServerColumnsTest, sortingComparesNumbersByValueAndTextsWithoutCase)
{
    QList<CodServerPtr> servers;
    for (const auto& [name, ping, players] : {std::tuple{"bravo", "Ping: 120 ms", 3}, {"Alpha", "Ping: --- ms", 1},
                                              {"charlie", "Ping:  45 ms", 3}, {"delta", "Ping: 999 ms", 12}})
        servers.append(FinderServer{.name = name, .players = players, .ping = ping}.make());
    ServerColumns::sortServers(servers, "ping", Qt::AscendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"charlie", "bravo", "delta", "Alpha"}));
    ServerColumns::sortServers(servers, "players", Qt::DescendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"delta", "charlie", "bravo", "Alpha"})) << "equal ones keep their order";
    ServerColumns::sortServers(servers, "serverName", Qt::AscendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"Alpha", "bravo", "charlie", "delta"}));
}

TEST(PlayerColumnsTest, theAgeIsInSecondsUnderAMinuteThenInMinutes)
{
    for (const auto& [seconds, text] : {std::pair{0, "0 s"}, {59, "59 s"}, {60, "> 1 mn"}, {119, "> 2 mn"}})
        EXPECT_EQ(PlayerColumns::ageText(seconds), text) << seconds;
}

TEST(FavoritePlayersTest, theNamesComeBackFromTheStoreAsTheyWereStored)
{
    TestPreferences::installFresh();
    EXPECT_TRUE(FavoritePlayers::stored().isEmpty());
    for (const QStringList& names : {QStringList{"solo"}, QStringList{"a,b", "@Invalid()", "\"q\"", " spaced ", ""},
                                     QStringList{}}) {
        FavoritePlayers::store(names);
        EXPECT_EQ(FavoritePlayers::stored(), names);
    }
    Preferences::standard().setObject(QByteArray("\x01\x02"), "Favorite players");
    EXPECT_TRUE(FavoritePlayers::stored().isEmpty());
}
