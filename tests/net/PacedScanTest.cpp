#include "net/PacedScan.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"
#include "peers/TcpMasterPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

using namespace std::chrono_literals;

const ServerAddress master{0x7F000001, 20810};
const ServerAddress first{0x0A000001, 28960};
const ServerAddress second{0x0A000002, 28960};
const ServerAddress third{0x0A000003, 28961};
const QByteArray status = GameServerPeer::statusDatagram(
    "\\sv_hostname\\^1Big^7Server\\mapname\\mp_test\\g_gametype\\sd\n5 48 \"^2Joe\"\n");

QStringList textsOf(const std::vector<ServerAddress>& servers)
{
    QStringList texts;
    for (const ServerAddress& server : servers)
        texts.append(server.text());
    return texts;
}

// One scan over a clock of its own, that starts an hour after the clock's epoch and
// moves only when a test moves it; the queries it sends are recorded, not sent.
class PacedScanTest : public testing::Test {
protected:
    using TimePoint = PacedScan::TimePoint;

    void start(int queriesPerSecond, std::chrono::milliseconds timeout = 100ms)
    {
        startWith({{.label = "master",
                    .address = master,
                    .transport = MasterSource::Transport::Udp,
                    .request = {},
                    .entryPrefix = {}}},
                  queriesPerSecond, timeout);
    }

    void startWith(const QList<MasterSource>& masters, int queriesPerSecond, std::chrono::milliseconds timeout)
    {
        ScanReports reports{
            [this](const CodServerPtr& server) { answered.append(server); },
            [this](const ScanCounts& counts) { progress.push_back(counts); },
            [this](const ScanCounts& counts, bool masterListedNothing) {
                EXPECT_FALSE(ending) << "one ending only";
                ending = {counts, masterListedNothing};
            },
            [this](qsizetype which, const MasterOutcome& outcome) {
                EXPECT_FALSE(outcomes.contains(which)) << "one outcome per master";
                outcomes[which] = outcome;
            },
        };
        scan = std::make_unique<PacedScan>(
            ScanSettings{.timeout = timeout, .queriesPerSecond = queriesPerSecond, .masters = masters},
            reports, now);
    }

    void list(const QList<ServerAddress>& servers, ServerAddress from = master)
    {
        QList<QByteArray> records;
        for (const ServerAddress& server : servers)
            records.append(MasterServerPeer::record(server.ip, server.port));
        scan->masterDatagram(0, from, MasterServerPeer::listDatagram(records, MasterServerPeer::Ending::None), now);
    }

    // Moves the clock on in steps of one millisecond, as the engine's loop wakes. The
    // queries take the routes 1 to 3 in turn, skipping the one to avoid.
    void run(std::chrono::milliseconds duration)
    {
        for (const TimePoint end = now + duration; now < end;) {
            now += 1ms;
            scan->advance(now, [this](ServerAddress server, std::optional<int> avoid) -> std::optional<PacedScan::Sent> {
                if (refusing)
                    return std::nullopt;
                nextRoute = nextRoute % 3 + 1;
                if (nextRoute == avoid)
                    nextRoute = nextRoute % 3 + 1;
                sent.push_back(server);
                routes[server.key()] = nextRoute;
                return PacedScan::Sent{now, nextRoute};
            });
        }
    }

    // A datagram from the server, by the route its last query took.
    void answerFrom(ServerAddress server, const QByteArray& datagram, TimePoint at, std::optional<int> route = {})
    {
        scan->serverDatagram(server, route.value_or(routes.value(server.key(), 1)), datagram, at);
    }

    // Runs the scan until it is over, ten seconds of its clock at most.
    void finishWhenOver()
    {
        for (int step = 0; step < 10000 && !scan->isOver(); ++step)
            run(1ms);
        EXPECT_TRUE(scan->isOver());
        scan->finish();
    }

    TimePoint now = TimePoint() + 1h;
    std::unique_ptr<PacedScan> scan;
    std::vector<ServerAddress> sent;
    QHash<quint64, int> routes;
    int nextRoute = 0;
    bool refusing = false;
    QList<CodServerPtr> answered;
    std::vector<ScanCounts> progress;
    std::optional<std::pair<ScanCounts, bool>> ending;
    QMap<qsizetype, MasterOutcome> outcomes;
};

}  // namespace

TEST_F(PacedScanTest, anAnswerCountsOnceFromItsServersOwnAddressAndPortAndFillsARecordAsARefreshDoes)
{
    start(20000);
    list({first, second, third, first, {0x00010203, 28960}, {0xE0000001, 28960}, {0x0A000004, 0}});
    run(1ms);
    EXPECT_EQ(textsOf(sent), QStringList({first.text(), second.text(), third.text()}))
        << "in list order, each once, none that cannot be a server";

    now += 7ms;
    answerFrom(first, status, now);
    answerFrom(first, status, now + 1ms);
    answerFrom({second.ip, 28961}, status, now);
    answerFrom({0x0A000009, 28960}, status, now);
    answerFrom(third, status.left(9), now);
    ASSERT_EQ(answered.size(), 1);
    const CodServerPtr& server = answered.first();
    EXPECT_EQ(server->serverIp(), "10.0.0.1:28960");
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverPing(), "Ping:   7 ms") << "from its own send to the answer's arrival";
    EXPECT_EQ(server->serverName(), "BigServer");
    EXPECT_EQ(server->serverMapName(), "mp_test");
    ASSERT_EQ(server->serverPlayers().size(), 1);
    EXPECT_EQ(server->serverPlayers().first()->playerName(), "Joe");

    answerFrom(third, status, now);
    EXPECT_EQ(answered.size(), 2) << "a datagram too short to answer leaves the query waiting";
    finishWhenOver();
    EXPECT_EQ(ending->first, (ScanCounts{.listed = 3, .queried = 3, .answered = 2}));
}

TEST_F(PacedScanTest, queriesStartWithTheFirstListedServersAndTheSilentOnesAreAskedOnceMoreWhenTheListEnded)
{
    start(20000, 100ms);
    list({first, second});
    run(1ms);
    EXPECT_EQ(sent.size(), 2u) << "before the list is complete";
    answerFrom(first, status, now);

    // The master keeps the list open past the first queries' time-out.
    run(60ms);
    list({third});
    run(60ms);
    answerFrom(second, status, now);
    answerFrom(third, status, now);
    EXPECT_EQ(textsOf(sent), QStringList({first.text(), second.text(), third.text()}))
        << "no retry before the list ended; a late answer is no answer";

    // The list is complete one time-out after its last datagram: the counts are
    // reported then, whatever the period.
    run(39ms);
    const std::size_t reportsBefore = progress.size();
    run(2ms);
    ASSERT_EQ(progress.size(), reportsBefore + 1);
    EXPECT_EQ(progress.back(), (ScanCounts{.listed = 3, .queried = 3, .answered = 2}));

    run(59ms);
    EXPECT_EQ(textsOf(sent), QStringList({first.text(), second.text(), third.text(), second.text()}));
    answerFrom(second, status, now);
    finishWhenOver();
    EXPECT_EQ(sent.size(), 4u) << "a server is asked twice at most";
    EXPECT_EQ(answered.size(), 3);
    EXPECT_EQ(ending->first, (ScanCounts{.listed = 3, .queried = 3, .answered = 3}));
    EXPECT_FALSE(ending->second);
}

// A server slower than the time-out answers its first query after the retry went
// out: that answer came by the first query's route and is not the retry's, whose own
// answer the ping is measured to.
TEST_F(PacedScanTest, aLateAnswerToTheFirstQueryIsNotCreditedToTheRetry)
{
    start(20000, 100ms);
    list({first});
    run(1ms);
    const int firstRoute = routes.value(first.key());
    run(100ms);
    ASSERT_EQ(sent.size(), 2u) << "asked once more as the first query timed out";
    const int retryRoute = routes.value(first.key());
    EXPECT_NE(retryRoute, firstRoute) << "the retry leaves by another route";

    run(5ms);
    answerFrom(first, status, now, firstRoute);
    EXPECT_TRUE(answered.isEmpty()) << "the first query's answer, 105 ms after it, is late";
    run(30ms);
    answerFrom(first, status, now, retryRoute);
    ASSERT_EQ(answered.size(), 1);
    EXPECT_EQ(answered.first()->serverPing(), "Ping:  35 ms") << "from the retry's send";
}

// A query the system refused to send (its queue full) is not a query: the server is
// asked at the pace's next turn, not one time-out later, and the refusal is counted.
TEST_F(PacedScanTest, aRefusedQueryIsSentAgainAtThePacesNextTurnAndCounted)
{
    start(1000, 100ms);
    list({first, second});
    refusing = true;
    run(1ms);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(scan->counts(), (ScanCounts{.listed = 2, .queried = 0, .answered = 0, .refused = 1}));
    refusing = false;
    run(2ms);
    EXPECT_EQ(textsOf(sent), QStringList({first.text(), second.text()})) << "first in line still";
    EXPECT_EQ(scan->counts(), (ScanCounts{.listed = 2, .queried = 2, .answered = 0, .refused = 1}));
}

TEST_F(PacedScanTest, thePaceIsHeldAndAThreadHeldUpCatchesUpByAShortBurstOnly)
{
    QList<ServerAddress> servers;
    for (quint32 i = 1; i <= 2000; ++i)
        servers.append({0x0A000000 + i, 28960});
    start(1000);
    list(servers);
    run(100ms);
    EXPECT_GE(sent.size(), 100u);
    EXPECT_LE(sent.size(), 101u);

    // The engine's thread was held up for a second.
    now += 1s;
    const std::size_t before = sent.size();
    run(1ms);
    EXPECT_LE(sent.size() - before, 6u);

    start(250);
    sent.clear();
    list(servers);
    run(40ms);
    EXPECT_GE(sent.size(), 10u);
    EXPECT_LE(sent.size(), 11u);
}

TEST_F(PacedScanTest, progressIsReportedOnceAPeriodAtMost)
{
    QList<ServerAddress> servers;
    for (quint32 i = 1; i <= 2000; ++i)
        servers.append({0x0A000000 + i, 28960});
    start(1000, 500ms);
    list(servers);
    for (int step = 0; step < 1000; ++step) {
        run(1ms);
        answerFrom(sent.back(), status, now);
    }
    // At the start, once a period, and once more when the list was complete.
    const auto periods = static_cast<std::size_t>(1s / PacedScan::progressPeriod);
    EXPECT_GE(progress.size(), periods);
    EXPECT_LE(progress.size(), periods + 2);
    EXPECT_EQ(progress.front().listed, 2000);
}

TEST_F(PacedScanTest, aStoppedScanAsksNothingMoreAndEndsOnceItsQueriesUnderWayTimedOut)
{
    start(1000, 100ms);
    list({first, second, third});
    run(1ms);
    scan->stop();
    list({{0x0A000005, 28960}});
    run(99ms);
    EXPECT_FALSE(scan->isOver()) << "the query under way may still be answered";
    answerFrom(sent.front(), status, now);
    run(2ms);
    EXPECT_TRUE(scan->isOver());
    scan->finish();
    EXPECT_EQ(answered.size(), 1);
    EXPECT_EQ(ending->first.listed, 3);
    EXPECT_EQ(sent.size(), static_cast<std::size_t>(ending->first.queried));
    EXPECT_FALSE(ending->second);

    // A master that never answers; a stop before it could does not count as that.
    for (const bool stopped : {false, true}) {
        ending.reset();
        start(1000, 100ms);
        list({first}, {master.ip, 20811});
        if (stopped)
            scan->stop();
        finishWhenOver();
        EXPECT_EQ(ending->second, !stopped);
        EXPECT_EQ(ending->first.listed, 0);
    }
}

// Four masters asked at once: an Activision-style one whose last datagram goes
// missing, a dpmaster-style one, a CoD4x-style TCP one and a silent one.
TEST_F(PacedScanTest, theMastersListsAreMergedEachServerIsQueriedOnceAndEachMasterGetsItsOutcome)
{
    const ServerAddress activision{0x7F000001, 20810};
    const ServerAddress dpmaster{0x7F000002, 27950};
    const ServerAddress silent{0x7F000003, 20810};
    const auto udp = [](ServerAddress address) {
        return MasterSource{.label = address.text(), .address = address, .transport = MasterSource::Transport::Udp,
                            .request = {}, .entryPrefix = {}};
    };
    MasterSource cod4x = udp({0x7F000004, 20810});
    cod4x.transport = MasterSource::Transport::Tcp;
    cod4x.entryPrefix = QByteArray("\0\0\0\0\4", 5);
    startWith({udp(activision), udp(dpmaster), cod4x, udp(silent)}, 20000, 100ms);

    const auto recordOf = [](ServerAddress server) { return MasterServerPeer::record(server.ip, server.port); };
    const QList<QByteArray> activisionList = MasterServerPeer::activisionDatagrams({recordOf(first), recordOf(second)}, 1);
    scan->masterDatagram(0, activision, activisionList[0], now);
    scan->masterDatagram(1, activision, MasterServerPeer::listDatagram({recordOf(third)}, MasterServerPeer::Ending::None), now);
    scan->masterDatagram(1, dpmaster,
                         MasterServerPeer::listDatagram({recordOf(second), recordOf(first)},
                                                        MasterServerPeer::Ending::EndOfTransmission), now);
    const QByteArray stream = TcpMasterPeer::stream({TcpMasterPeer::entry(first.ip, first.port),
                                                     TcpMasterPeer::entry(third.ip, third.port)});
    scan->masterStream(2, QByteArrayView(stream).first(30), now);
    scan->masterStream(2, QByteArrayView(stream).sliced(30), now);
    scan->masterStreamEnded(2, true);
    run(1ms);
    EXPECT_EQ(textsOf(sent), QStringList({first.text(), second.text(), third.text()}))
        << "each once, whichever master listed it, none from a datagram of another master's address";
    EXPECT_EQ(outcomes.value(1).text(), "listed 2");
    EXPECT_EQ(outcomes.value(2).text(), "listed 2");
    EXPECT_TRUE(scan->mastersToAskAgain().isEmpty());

    run(100ms);
    EXPECT_EQ(scan->mastersToAskAgain(), QList<qsizetype>{0}) << "the list that lost its end is asked for again";
    EXPECT_FALSE(outcomes.contains(0));
    EXPECT_EQ(outcomes.value(3).text(), "no answer");
    EXPECT_EQ(sent.size(), 3u) << "no retry while a list may still grow";
    for (const QByteArray& datagram : activisionList)
        scan->masterDatagram(0, activision, datagram, now);
    run(1ms);
    EXPECT_EQ(outcomes.value(0).text(), "listed 2");
    EXPECT_EQ(scan->counts().listed, 3);
    finishWhenOver();
    EXPECT_EQ(outcomes.size(), 4);
}

TEST_F(PacedScanTest, aListThatLosesItsEndTwiceIsAskedForAgainOnceAndMayBeIncomplete)
{
    start(20000, 100ms);
    const QList<QByteArray> list = MasterServerPeer::activisionDatagrams(
        {MasterServerPeer::record(first.ip, first.port), MasterServerPeer::record(second.ip, second.port)}, 1);
    // Each request gets the first datagram of the list only.
    int asked = 1;
    bool answering = true;
    for (int step = 0; step < 1000 && !scan->isOver(); ++step) {
        if (std::exchange(answering, false))
            scan->masterDatagram(0, master, list[0], now);
        run(1ms);
        const qsizetype again = scan->mastersToAskAgain().size();
        asked += static_cast<int>(again);
        answering = again > 0;
    }
    scan->finish();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(outcomes.value(0).text(), "listed 1, list may be incomplete");
}
