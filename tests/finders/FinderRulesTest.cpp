#include "FinderRecords.h"

#include "finders/FavoritePlayers.h"
#include "finders/ScanProgress.h"
#include "finders/FoundServers.h"
#include "finders/GatheredServers.h"
#include "finders/ServerFilter.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
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

// The names of the found servers that pass the filter, in the order kept.
QStringList namesPassing(const FoundServers& found, const ServerFilter& filter)
{
    QStringList names;
    for (const int place : found.passing(filter))
        names.append(found.server(place)->serverName());
    return names;
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
}

// The servers are kept in the order the titles chose, and the filters keep it.
TEST(FoundServersTest, theOrderComparesNumbersByValueAndTextsWithoutCaseAndFilteringKeepsIt)
{
    QList<CodServerPtr> servers;
    for (const auto& [name, ping, players] : {std::tuple{"bravo", "Ping: 120 ms", 3}, {"Alpha", "Ping: --- ms", 1},
                                              {"charlie", "Ping:  45 ms", 3}, {"delta", "Ping: 999 ms", 12}})
        servers.append(FinderServer{.name = name, .players = players, .ping = ping}.make());
    FoundServers found(servers);
    ServerFilter everyServer;
    everyServer.showEmpty = true;
    everyServer.showFull = true;
    const auto orderedBy = [&](const char* column, Qt::SortOrder order) {
        found.keepIn(ColumnOrder::Choice{column, order});
        return namesPassing(found, everyServer);
    };

    EXPECT_EQ(namesPassing(found, everyServer), QStringList({"bravo", "Alpha", "charlie", "delta"}))
        << "until a title is clicked, the order of the hand-over";
    EXPECT_EQ(orderedBy("ping", Qt::AscendingOrder), QStringList({"charlie", "bravo", "delta", "Alpha"}));
    EXPECT_EQ(orderedBy("players", Qt::DescendingOrder), QStringList({"delta", "charlie", "bravo", "Alpha"}))
        << "equal ones keep their order";
    EXPECT_EQ(orderedBy("serverName", Qt::AscendingOrder), QStringList({"Alpha", "bravo", "charlie", "delta"}));
    ServerFilter named = everyServer;
    named.name = "R";
    EXPECT_EQ(namesPassing(found, named), QStringList({"bravo", "charlie"}));

    // The filters read what a record held when it was handed over, or queried again.
    servers.at(3)->setServerName("zulu");
    named.name = "zulu";
    EXPECT_TRUE(namesPassing(found, named).isEmpty());
    found.refresh(servers.at(3));
    EXPECT_EQ(namesPassing(found, named), QStringList({"zulu"}));
    EXPECT_EQ(orderedBy("serverName", Qt::DescendingOrder), QStringList({"zulu", "charlie", "bravo", "Alpha"}));
    servers.at(0)->setServerName("aaron");
    found.refresh(servers.at(0));
    EXPECT_EQ(orderedBy("serverName", Qt::AscendingOrder), QStringList({"aaron", "Alpha", "charlie", "zulu"}))
        << "the next order reads the names as queried again";
}

// A scan's list grows at its end between hand-overs: only the servers added are taken
// in, and they join the order chosen and the choices offered; any other list is taken
// in whole, as if it were the first.
TEST(GatheredServersTest, aGrownListAddsItsNewServersToTheOrderAndTheChoicesAndAnyOtherStartsAnew)
{
    QList<CodServerPtr> list;
    for (const auto& [name, map, gametype, players] :
         {std::tuple{"bravo", "mp_Brecourt", "dm", 3}, {"alpha", "mp_carentan", "sd", 1}, {"echo", "", "DM", 9},
          {"delta", "MP_CARENTAN", "ctf", 5}})
        list.append(FinderServer{.name = name, .map = map, .gametype = gametype, .players = players}.make());
    ServerFilter everyServer;
    everyServer.showEmpty = true;
    everyServer.showFull = true;

    GatheredServers gathered;
    gathered.takeIn(list.mid(0, 2));
    gathered.takeIn(list);
    EXPECT_EQ(namesPassing(gathered.servers(), everyServer), QStringList({"bravo", "alpha", "echo", "delta"}));
    EXPECT_EQ(gathered.choices().maps(), QStringList({"All", "mp_brecourt", "mp_carentan"}));
    EXPECT_EQ(gathered.choices().gametypes(), QStringList({"All", "dm", "sd", "ctf"}));

    FoundServers found(list.mid(0, 3));
    found.keepIn(ColumnOrder::Choice{"players", Qt::DescendingOrder});
    found.appendFrom(list);
    EXPECT_EQ(namesPassing(found, everyServer), QStringList({"bravo", "alpha", "echo", "delta"}))
        << "the hand-over's order until the order is chosen again";
    found.keepIn(ColumnOrder::Choice{"players", Qt::DescendingOrder});
    EXPECT_EQ(namesPassing(found, everyServer), QStringList({"echo", "delta", "bravo", "alpha"}));

    // A new scan's records, and a list that lost a server, are taken in whole.
    const QList<CodServerPtr> rescan = {FinderServer{.name = "foxtrot", .map = "mp_dawnville"}.make()};
    gathered.takeIn(rescan);
    EXPECT_EQ(namesPassing(gathered.servers(), everyServer), QStringList({"foxtrot"}));
    EXPECT_EQ(gathered.choices().maps(), QStringList({"All", "mp_dawnville"}));
    gathered.takeIn(list);
    gathered.takeIn(list.mid(0, 3));
    EXPECT_EQ(namesPassing(gathered.servers(), everyServer), QStringList({"bravo", "alpha", "echo"}));
    EXPECT_EQ(gathered.choices().gametypes(), QStringList({"All", "dm", "sd"}));
}

TEST(ScanProgressTest, theCountsAreWrittenAsTheLocaleWritesThemAndAStopIsTold)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const ScanCounts counts{.listed = 10000, .queried = 3412, .answered = 3001};
    EXPECT_EQ((ScanProgress{.running = true, .counts = counts}.text("Call of Duty 4")),
              "Call of Duty 4: 3,412 of 10,000 queried, 3,001 answered");
    EXPECT_EQ((ScanProgress{.running = true, .stopped = true, .counts = counts}.text("Call of Duty 4")),
              "Call of Duty 4: stopped, 3,412 of 10,000 queried, 3,001 answered");
    for (const auto& [kept, stopped, text] : {std::tuple{1, false, "1 server in database"},
                                              {0, false, "0 servers in database"},
                                              {3001, true, "3,001 servers in database (stopped)"}})
        EXPECT_EQ(ScanProgress::serversInDatabase(kept, stopped), text);
    QLocale::setDefault(before);
}

TEST(FavoritePlayersTest, theNamesComeBackFromTheStoreAsTheyWereStored)
{
    TestPreferences::installFresh();
    EXPECT_TRUE(FavoritePlayers::stored().isEmpty());
    for (const QStringList& names : {QStringList{"solo"}, QStringList{"a,b", "@Invalid()", "\"q\"", " spaced ", ""},
                                     QStringList{}}) {
        EXPECT_TRUE(FavoritePlayers::store(names));
        EXPECT_EQ(FavoritePlayers::stored(), names);
    }
    Preferences::standard().setObject(QByteArray("\x01\x02"), "Favorite players");
    EXPECT_TRUE(FavoritePlayers::stored().isEmpty());

    const RecordingAlerts& alerts = RecordingAlerts::install();
    TestPreferences::installUnwritable();
    EXPECT_FALSE(FavoritePlayers::store({"Zorro"}));
    ASSERT_EQ(alerts.shown().size(), 1) << "a failed write is told";
    EXPECT_EQ(alerts.shown().first().title, "Favorite players");
}
