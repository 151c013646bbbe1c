#include "FinderRecords.h"

#include "app/Preferences.h"
#include "finders/FavoritePlayers.h"
#include "finders/GameChoices.h"
#include "finders/PlayerColumns.h"
#include "finders/PlayerFound.h"
#include "finders/ServerColumns.h"
#include "finders/ServerFilter.h"
#include "support/TableCells.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

namespace {

bool passes(const ServerFilter& filter, const FinderServer& server)
{
    return filter.passes(*server.make());
}

FinderServer named(const QString& name)
{
    FinderServer server;
    server.name = name;
    return server;
}

}  // namespace

TEST(ServerFilterTest, theNameIsFoundAnywhereInAnyCaseAndAnEmptyNamePassesAll)
{
    ServerFilter filter;
    EXPECT_TRUE(passes(filter, named("")));
    filter.name = "ali";
    for (const char* name : {"Alibi", "Bali", "dALI server", "ali"})
        EXPECT_TRUE(passes(filter, named(name))) << name;
    for (const char* name : {"al i", "Alpha", ""})
        EXPECT_FALSE(passes(filter, named(name))) << name;
}

TEST(ServerFilterTest, emptyAndFullServersShowOnlyWhenAsked)
{
    FinderServer empty;
    empty.players = 0;
    FinderServer full;
    full.players = 20;
    FinderServer slotless;  // no number of slots: counts as 0 slots
    slotless.players = 0;
    slotless.maxClients = "many";

    ServerFilter filter;
    EXPECT_TRUE(passes(filter, FinderServer()));
    EXPECT_FALSE(passes(filter, empty));
    EXPECT_FALSE(passes(filter, full));
    filter.showEmpty = true;
    EXPECT_TRUE(passes(filter, empty));
    EXPECT_FALSE(passes(filter, slotless)) << "empty, but also full";
    filter.showFull = true;
    EXPECT_TRUE(passes(filter, full));
    EXPECT_TRUE(passes(filter, slotless));
}

TEST(ServerFilterTest, thePasswordAndPunkBusterSwitchesReadTheFlagsAsNumbers)
{
    FinderServer locked;
    locked.passActive = " 1";
    FinderServer oddFlag;
    oddFlag.passActive = "2";
    FinderServer punkBuster;
    punkBuster.punkBuster = "1";
    FinderServer wordy;
    wordy.punkBuster = "yes";

    ServerFilter filter;
    EXPECT_TRUE(passes(filter, locked));
    filter.hidePassword = true;
    EXPECT_FALSE(passes(filter, locked));
    EXPECT_TRUE(passes(filter, oddFlag));
    filter.onlyPunkBuster = true;
    EXPECT_TRUE(passes(filter, punkBuster));
    EXPECT_FALSE(passes(filter, wordy));
    EXPECT_FALSE(passes(filter, FinderServer()));
}

TEST(ServerFilterTest, thePingLimitAndTheMinimumOfPlayersAreInclusive)
{
    const auto withPing = [](const char* ping) {
        FinderServer server;
        server.ping = ping;
        return server;
    };
    const auto withPlayers = [](int players) {
        FinderServer server;
        server.players = players;
        return server;
    };
    ServerFilter filter;
    EXPECT_TRUE(passes(filter, withPing("Ping: 999 ms")));
    filter.pingLimit = 100;
    EXPECT_TRUE(passes(filter, withPing("Ping: 100 ms")));
    EXPECT_FALSE(passes(filter, withPing("Ping: 101 ms")));
    EXPECT_TRUE(passes(filter, withPing("Ping: --- ms")));
    filter.minPlayers = 2;
    EXPECT_TRUE(passes(filter, withPlayers(2)));
    EXPECT_FALSE(passes(filter, withPlayers(1)));
}

TEST(ServerFilterTest, mapAndGametypeMatchWholeNamesInAnyCaseUnlessAll)
{
    FinderServer server;
    server.map = "MP_Carentan";
    server.gametype = "TDM";
    ServerFilter filter;
    EXPECT_TRUE(passes(filter, server));
    filter.map = "mp_carentan";
    filter.gametype = "tdm";
    EXPECT_TRUE(passes(filter, server));
    filter.map = "mp_car";
    EXPECT_FALSE(passes(filter, server));
    filter.map = "all";
    EXPECT_FALSE(passes(filter, server)) << "only \"All\" itself lets every map pass";
    filter.map = ServerFilter::all;
    filter.gametype = "dm";
    EXPECT_FALSE(passes(filter, server));

    ServerFilter byName;
    byName.name = "a";
    const QList<CodServerPtr> servers = {named("b1").make(), named("a1").make(), named("b2").make(),
                                         named("a2").make()};
    EXPECT_EQ(namesOf(byName.apply(servers)), QStringList({"a1", "a2"}));
}

TEST(GameChoicesTest, distinctLowercaseChoicesFollowAllInOrderOfFirstAppearance)
{
    QList<CodServerPtr> servers;
    for (const auto& [gametype, map] : {std::pair{"SD", "mp_Harbor"}, {"", "mp_toujane"}, {"dm", ""},
                                        {"sd", "MP_HARBOR"}}) {
        FinderServer server;
        server.gametype = gametype;
        server.map = map;
        servers.append(server.make());
    }
    const GameChoices choices = GameChoices::of(servers);
    EXPECT_EQ(choices.gametypes, QStringList({"All", "sd", "dm"}));
    EXPECT_EQ(choices.maps, QStringList({"All", "mp_harbor", "mp_toujane"}));
    EXPECT_EQ(GameChoices::of({}).maps, QStringList({"All"}));
}

TEST(ServerColumnsTest, cellsShowThePingThePlayersAndTheFlags)
{
    FinderServer odd;
    odd.players = 0;
    odd.maxClients = "abc";
    odd.ping = "Ping: --- ms";
    const CodServerPtr server = FinderServer().make();
    const CodServerPtr unanswered = odd.make();
    server->setServerPassActive(" 1x");
    EXPECT_EQ(ServerColumns::objectValue(*server, "ping"), QVariant(" 50 ms"));
    EXPECT_EQ(ServerColumns::objectValue(*unanswered, "ping"), QVariant("--- ms"));
    EXPECT_EQ(ServerColumns::objectValue(*server, "players"), QVariant("1/20"));
    EXPECT_EQ(ServerColumns::objectValue(*unanswered, "players"), QVariant("0/abc"));
    EXPECT_EQ(ServerColumns::objectValue(*server, "serverPassActive"), QVariant(1));
    EXPECT_EQ(ServerColumns::objectValue(*server, "serverName"), QVariant("Server"));
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
                                              {"charlie", "Ping:  45 ms", 3}, {"delta", "Ping: 999 ms", 12}}) {
        FinderServer server;
        server.name = name;
        server.ping = ping;
        server.players = players;
        servers.append(server.make());
    }
    ServerColumns::sortServers(servers, "ping", Qt::AscendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"charlie", "bravo", "delta", "Alpha"}));
    ServerColumns::sortServers(servers, "players", Qt::DescendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"delta", "charlie", "bravo", "Alpha"})) << "equal ones keep their order";
    ServerColumns::sortServers(servers, "serverName", Qt::AscendingOrder);
    EXPECT_EQ(namesOf(servers), QStringList({"Alpha", "bravo", "charlie", "delta"}));
}

TEST(PlayerSearchTest, everyPlayerWhoseNameHoldsTheTextIsFoundOnce)
{
    FinderServer first;
    first.players = 0;
    const CodServerPtr one = first.make();
    const CodServerPtr two = first.make();
    one->setServerPlayers({finderPlayer("[TAG] Zorro"), finderPlayer("Nobody"), finderPlayer("zorro jr")});
    // The colour codes of "^1Zo^2rro" are gone from the name that is searched.
    two->setServerPlayers({finderPlayer(CodServer::clearColoredName("^1Zo^2rro"))});

    const QList<PlayerFound> found = PlayerFound::searchPlayerInArray("ZORRO", {one, two});
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found.at(0).thePlayer->playerName(), "[TAG] Zorro");
    EXPECT_EQ(found.at(1).thePlayer->playerName(), "zorro jr");
    EXPECT_EQ(found.at(1).thePlayerServer, one);
    EXPECT_EQ(found.at(2).thePlayerServer, two);
    EXPECT_EQ(PlayerFound::searchPlayerInArray(" ", {one, two}).size(), 2) << "a blank is a text like any other";
    EXPECT_TRUE(PlayerFound::searchPlayerInArray("^1Zo", {one, two}).isEmpty());
}

TEST(PlayerColumnsTest, theAgeIsInSecondsUnderAMinuteThenInMinutes)
{
    EXPECT_EQ(PlayerColumns::ageText(0), "0 s");
    EXPECT_EQ(PlayerColumns::ageText(59), "59 s");
    EXPECT_EQ(PlayerColumns::ageText(60), "> 1 mn");
    EXPECT_EQ(PlayerColumns::ageText(119), "> 2 mn");
    EXPECT_EQ(PlayerColumns::ageText(3600), "> 60 mn");

    const CodServerPtr server = FinderServer().make();
    const QDateTime answered = server->lastUpdate().value();
    const PlayerFound result{finderPlayer("Zorro", "7"), server};
    EXPECT_EQ(PlayerColumns::objectValue(result, "lastUpdate", answered.addSecs(61)), QVariant("> 1 mn"));
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
    EXPECT_TRUE(FavoritePlayers::namesOf(QVariantList{QStringLiteral("a"), 3}).isEmpty());
}
