#include "net/PacedScan.h"
#include "net/QuakeProtocol.h"
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

    void start(int queriesPerSecond, std::chrono::milliseconds timeout = 100ms, int tries = 2,
               bool echoesChallenge = false, std::shared_ptr<ScanPacer> pacer = nullptr)
    {
        startWith({{.label = "master",
                    .address = master,
                    .transport = MasterSource::Transport::Udp,
                    .request = {},
                    .entryPrefix = {}}},
                  queriesPerSecond, timeout, tries, echoesChallenge, std::move(pacer));
    }

    void startWith(const QList<MasterSource>& masters, int queriesPerSecond, std::chrono::milliseconds timeout,
                   int tries = 2, bool echoesChallenge = false, std::shared_ptr<ScanPacer> pacer = nullptr)
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
        scan = std::make_unique<PacedScan>(ScanSettings{.timeout = timeout,
                                                        .queriesPerSecond = queriesPerSecond,
                                                        .masters = masters,
                                                        .tries = tries,
                                                        .echoesChallenge = echoesChallenge},
                                           reports, now, std::move(pacer));
    }

    void list(const QList<ServerAddress>& servers, ServerAddress from = master)
    {
        QList<QByteArray> records;
        for (const ServerAddress& server : servers)
            records.append(MasterServerPeer::record(server.ip, server.port));
        scan->masterDatagram(0, from, MasterServerPeer::listDatagram(records, MasterServerPeer::Ending::None), now);
    }

    // Moves the clock on in steps of one millisecond, as the engine's loop wakes. The
    // queries take the routes 1 to 4 in turn, skipping those to avoid.
    void run(std::chrono::milliseconds duration)
    {
        for (const TimePoint end = now + duration; now < end;) {
            now += 1ms;
            scan->advance(now, sender());
        }
    }

    PacedScan::SendQuery sender()
    {
        return [this](ServerAddress server, const QByteArray& query, quint32 avoid) -> std::optional<PacedScan::Sent> {
            if (refusing)
                return std::nullopt;
            do
                nextRoute = nextRoute % 4 + 1;
            while (avoid >> nextRoute & 1U);
            sent.push_back(server);
            sentAt.push_back(now);
            queries.push_back(query);
            routes[server.key()] = nextRoute;
            return PacedScan::Sent{now, nextRoute};
        };
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
    std::vector<TimePoint> sentAt;
    std::vector<QByteArray> queries;
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

// A silent server is asked again as soon as its time-out is over, while the master's
// list still comes, up to the tries set; the third query waits until the first is
// two seconds old and a margin, as servers drop a third query within two seconds.
TEST_F(PacedScanTest, aSilentServerIsAskedUpToItsTriesEachAfterItsTimeOutAndNeverThreeTimesInTwoSeconds)
{
    start(20000, 100ms, 3);
    list({first, second});
    const TimePoint started = now;
    run(1ms);
    answerFrom(first, status, now);
    run(50ms);
    list({third});
    run(3s);
    std::vector<std::chrono::milliseconds> secondsTries;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        if (sent[i] == second)
            secondsTries.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(sentAt[i] - started));
    }
    EXPECT_EQ(secondsTries, (std::vector<std::chrono::milliseconds>{1ms, 101ms, 2051ms}))
        << "the second try before the list ended; the third two seconds after the first";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), first), 1) << "an answered server is not asked again";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), third), 3);
    finishWhenOver();
    EXPECT_EQ(ending->first, (ScanCounts{.listed = 3, .queried = 3, .answered = 1}));

    // One try in all: no retry.
    sent.clear();
    ending.reset();
    outcomes.clear();
    start(20000, 100ms, 1);
    list({first});
    finishWhenOver();
    EXPECT_EQ(sent.size(), 1u);
}

// A server slower than the time-out answers its first query after the retry went
// out: the answer counts, once, with its ping from the first query's send, never
// from the retry's.
TEST_F(PacedScanTest, aLateAnswerToAnEarlierTryCountsOnceWithItsPingFromThatTry)
{
    start(20000, 100ms, 3);
    list({first, second});
    run(1ms);
    const int firstRoute = routes.value(first.key());
    const int secondsFirstRoute = routes.value(second.key());
    run(100ms);
    ASSERT_EQ(textsOf(sent), QStringList({first.text(), second.text(), first.text(), second.text()}));
    const int retryRoute = routes.value(first.key());
    EXPECT_NE(retryRoute, firstRoute) << "the retry leaves by another route";

    run(5ms);
    answerFrom(first, status, now, firstRoute);
    ASSERT_EQ(answered.size(), 1);
    EXPECT_EQ(answered.first()->serverPing(), "Ping: 105 ms") << "from the first try's send";
    answerFrom(first, status, now + 1ms, retryRoute);
    EXPECT_EQ(answered.size(), 1) << "the retry's answer is the same server's";

    // A late answer that comes while its server waits for its third try.
    run(100ms);
    answerFrom(second, status, now, secondsFirstRoute);
    ASSERT_EQ(answered.size(), 2);
    EXPECT_EQ(answered.last()->serverPing(), "Ping: 205 ms");
    finishWhenOver();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), second), 2) << "an answered server is not asked again";
    EXPECT_EQ(ending->first.answered, 2);
}

// Where servers echo the challenge of their status query, each try carries its own,
// and the echo names the try answered whatever route the answer took.
TEST_F(PacedScanTest, anEchoedChallengeNamesTheTryAnsweredAndAStrangeOneAnswersNothing)
{
    start(20000, 100ms, 3, true);
    list({first, second, third});
    run(101ms);
    ASSERT_EQ(queries.size(), 6u);
    const QByteArray request = QuakeProtocol::statusRequest() + ' ';
    QSet<QByteArray> challenges;
    for (const QByteArray& query : queries) {
        ASSERT_TRUE(query.startsWith(request)) << query.toStdString();
        challenges.insert(query.mid(request.size()));
    }
    EXPECT_EQ(challenges.size(), 6) << "a fresh challenge for each query";
    const auto echoing = [](const QByteArray& challenge) {
        return GameServerPeer::statusDatagram("\\challenge\\" + challenge
                                              + "\\sv_hostname\\Echo\\mapname\\mp_test\n");
    };
    const auto challengeOf = [&](std::size_t query) { return queries[query].mid(request.size()); };

    run(9ms);
    answerFrom(first, echoing(challengeOf(0)), now, routes.value(first.key()));
    ASSERT_EQ(answered.size(), 1);
    EXPECT_EQ(answered.first()->serverPing(), "Ping: 109 ms") << "the first try's, though it came by the retry's route";

    answerFrom(second, echoing(challengeOf(0)), now);
    answerFrom(second, echoing("12"), now);
    answerFrom(second, echoing(challengeOf(1) + "9"), now);
    EXPECT_EQ(answered.size(), 1) << "another server's challenge, or none of this scan's, answers nothing";
    answerFrom(second, echoing(challengeOf(4)), now);
    ASSERT_EQ(answered.size(), 2);
    EXPECT_EQ(answered.last()->serverPing(), "Ping:   9 ms");

    answerFrom(third, status, now);
    EXPECT_EQ(answered.size(), 3) << "an answer without a challenge is matched by its route";
}

// The scans that run at once share one pace: together they keep it.
TEST_F(PacedScanTest, scansSharingAPacerKeepItsPaceTogether)
{
    QList<ServerAddress> servers;
    for (quint32 i = 1; i <= 500; ++i)
        servers.append({0x0A000000 + i, 28960});
    const auto pacer = std::make_shared<ScanPacer>(1000, now);
    start(1000, 500ms, 3, false, pacer);
    list(servers);
    std::unique_ptr<PacedScan> firstScan = std::move(scan);
    start(20000, 500ms, 3, false, pacer);
    list(servers);
    for (int step = 0; step < 100; ++step) {
        now += 1ms;
        firstScan->advance(now, sender());
        scan->advance(now, sender());
    }
    EXPECT_GE(sent.size(), 100u);
    EXPECT_LE(sent.size(), 101u) << "not 1,000 a second each";
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

TEST_F(PacedScanTest, thePaceIsHeldAndAThreadHeldUpCatchesUpByTwentyMillisecondsWorthOnly)
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
    EXPECT_GE(sent.size() - before, 20u) << "what fell due in the last twenty milliseconds";
    EXPECT_LE(sent.size() - before, 21u) << "no more";

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
    EXPECT_EQ(sent.size(), 6u) << "the silent servers are asked again after their time-out, while a list may still grow";
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
