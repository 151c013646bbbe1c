#include "net/QuakeProtocol.h"
#include "net/ScanEngine.h"
#include "peers/GameServerFarm.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"
#include "peers/TcpMasterPeer.h"
#include "support/TableCells.h"

#include <QFile>
#include <QSet>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <ranges>

namespace {

using namespace std::chrono_literals;

ServerAddress addressOf(const UdpPeer& peer)
{
    return {0x7F000001, peer.port()};
}

QByteArray recordOf(const UdpPeer& peer)
{
    return MasterServerPeer::record(0x7F000001, peer.port());
}

// What one scan reported, gathered from the engine's thread.
class ScanRecorder {
public:
    ScanReports reports()
    {
        return {
            [this](const CodServerPtr& server) {
                std::lock_guard guard(lock);
                servers.append(server);
            },
            [this](const ScanCounts& counts) {
                std::lock_guard guard(lock);
                progress.push_back(counts);
            },
            [this](const ScanCounts& counts, bool) {
                {
                    std::lock_guard guard(lock);
                    lastCounts = counts;
                    over = true;
                }
                ended.set_value();
            },
            [this](qsizetype master, const MasterOutcome& outcome) {
                std::lock_guard guard(lock);
                outcomes[master] = outcome;
            },
        };
    }

    void waitForTheEnd() { ended.get_future().wait(); }
    bool hasEnded() const
    {
        std::lock_guard guard(lock);
        return over;
    }
    QList<CodServerPtr> answered() const
    {
        std::lock_guard guard(lock);
        return servers;
    }
    QStringList answeredAddresses() const
    {
        return sorted(addressesOf(answered()));
    }
    ScanCounts counts() const
    {
        std::lock_guard guard(lock);
        return lastCounts;
    }
    std::vector<ScanCounts> progressReports() const
    {
        std::lock_guard guard(lock);
        return progress;
    }
    QMap<qsizetype, MasterOutcome> masterOutcomes() const
    {
        std::lock_guard guard(lock);
        return outcomes;
    }

private:
    mutable std::mutex lock;
    QList<CodServerPtr> servers;
    std::vector<ScanCounts> progress;
    ScanCounts lastCounts;
    QMap<qsizetype, MasterOutcome> outcomes;
    bool over = false;
    std::promise<void> ended;
};

ScanSettings settingsFor(const MasterServerPeer& master, int queriesPerSecond, std::chrono::milliseconds timeout)
{
    return {.timeout = timeout,
            .queriesPerSecond = queriesPerSecond,
            .masters = {{.label = "master",
                         .address = addressOf(master),
                         .transport = MasterSource::Transport::Udp,
                         .request = QuakeProtocol::masterRequest(6),
                         .entryPrefix = {}}}};
}

void expectNoPingShorterThanItsDelay(const GameServerFarm& farm, const ScanRecorder& scan)
{
    QHash<QString, std::chrono::milliseconds> delays;
    for (int i = 0; i < farm.size(); ++i)
        delays.insert(farm.address(i), farm.server(i).answerDelay);
    for (const CodServerPtr& server : scan.answered()) {
        const int ping = server->serverPing().section(u' ', -2, -2).toInt();
        EXPECT_GE(ping, delays.value(server->serverIp()).count()) << server->serverIp().toStdString();
    }
}

}  // namespace

TEST(ScanEngineTest, eachAnsweringServerIsKeptOnceFilledAsARefreshFillsItAndTheSilentOnesAreAskedUpToTheirTries)
{
    GameServerFarm farm(GameServerFarm::generate(200, {.seed = 5, .silentFraction = 0.1, .maximumDelay = 20ms}));
    GameServerPeer twice;
    twice.setStatusAnswer(QList<QByteArray>(2, GameServerPeer::statusDatagram("\\sv_hostname\\Twice\n")));
    GameServerPeer oversized;
    const QByteArray longName(3000, 'n');
    oversized.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\" + longName)});
    GameServerPeer stranger;
    MasterServerPeer master;
    master.setAnswer(
        MasterServerPeer::listDatagrams(farm.masterRecords() + QList{recordOf(twice), recordOf(oversized)}, 90));

    ScanEngine engine;
    ScanRecorder scan;
    // A time-out no answer overruns on a loaded machine, where it would be asked again.
    engine.start(settingsFor(master, 20000, 1000ms), scan.reports());
    ASSERT_TRUE(twice.waitForReceived(1));
    stranger.sendToLastSenderOf(twice, GameServerPeer::statusDatagram("\\sv_hostname\\Impostor\n"));
    scan.waitForTheEnd();

    const QStringList kept = farm.answeringAddresses() + QStringList{addressOf(twice).text(), addressOf(oversized).text()};
    EXPECT_EQ(scan.answeredAddresses(), sorted(kept));
    const int listed = farm.size() + 2;
    EXPECT_EQ(scan.counts(), (ScanCounts{.listed = listed, .queried = listed, .answered = static_cast<int>(kept.size()),
                                         .cut = 1}))
        << "the oversized answer was cut";
    for (int i = 0; i < farm.size(); ++i)
        EXPECT_EQ(farm.queriesReceivedBy(i), farm.server(i).answer == GameServerFarm::Answer::Silent ? 3 : 1) << i;

    QHash<QString, CodServerPtr> byAddress;
    for (const CodServerPtr& server : scan.answered()) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ping: +\\d+ ms$")).match(server->serverPing()).hasMatch());
        byAddress.insert(server->serverIp(), server);
    }
    int answering = 0;
    while (farm.server(answering).answer == GameServerFarm::Answer::Silent)
        ++answering;
    const CodServerPtr farmServer = byAddress.value(farm.address(answering));
    EXPECT_EQ(farmServer->serverName(),
              CodServer::clearColoredName(QString::fromLatin1(farm.server(answering).hostName)));
    EXPECT_EQ(farmServer->serverMapName(), farm.server(answering).mapName);
    EXPECT_EQ(farmServer->serverPlayers().size(), farm.server(answering).players.size());
    EXPECT_EQ(byAddress.value(addressOf(twice).text())->serverName(), "Twice");
    EXPECT_EQ(byAddress.value(addressOf(oversized).text())->serverName(),
              longName.left(QuakeProtocol::receiveBufferBytes
                            - GameServerPeer::statusDatagram("\\sv_hostname\\").size()))
        << "cut as a single exchange cuts it";
}

TEST(ScanEngineTest, floodsOfAnswersAndOfStrangersDatagramsChangeNothingButTheFloodersOwnRecord)
{
    GameServerFarm farm(GameServerFarm::generate(200, {.seed = 6, .maximumDelay = 20ms}));
    GameServerPeer flooder;
    flooder.setStatusAnswer(QList<QByteArray>(3000, GameServerPeer::statusDatagram("\\sv_hostname\\Flood\n")));
    GameServerPeer stranger;
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(QList{recordOf(flooder)} + farm.masterRecords(), 90));

    ScanEngine engine;
    ScanRecorder scan;
    engine.start(settingsFor(master, 20000, 100ms), scan.reports());
    ASSERT_TRUE(flooder.waitForReceived(1));
    for (int i = 0; i < 3000; ++i)
        stranger.sendToLastSenderOf(flooder, GameServerPeer::statusDatagram("\\sv_hostname\\Impostor\n"));
    scan.waitForTheEnd();

    EXPECT_EQ(scan.answeredAddresses(), sorted(farm.answeringAddresses() + QStringList{addressOf(flooder).text()}))
        << "an answer lost to the flood is asked for again";
    EXPECT_EQ(flooder.receivedDatagrams().size(), 1);
    for (int i = 0; i < farm.size(); ++i)
        EXPECT_LE(farm.queriesReceivedBy(i), 2) << i;
}

// A server that answers between one and two time-outs after a query answers its
// first query after the retry went out. Whatever the scan keeps of it, the ping is
// never shorter than the server's delay.
// A server slower than the time-out is kept: its answer to the first try comes while
// the second waits.
TEST(ScanEngineTest, aLateServerIsKeptAndNoServerWithAPingShorterThanItsDelay)
{
    std::vector<GameServerFarm::Server> servers = GameServerFarm::generate(6, {.seed = 3});
    for (GameServerFarm::Server& server : servers | std::views::drop(3))
        server.answerDelay = 300ms;
    GameServerFarm farm(servers);
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));

    ScanEngine engine;
    ScanRecorder scan;
    engine.start(settingsFor(master, 2000, 200ms), scan.reports());
    scan.waitForTheEnd();

    expectNoPingShorterThanItsDelay(farm, scan);
    EXPECT_EQ(scan.answeredAddresses().size(), 6);
    for (int i = 3; i < farm.size(); ++i)
        EXPECT_EQ(farm.queriesReceivedBy(i), 2) << "the slow server was asked once more";
}

// The internet's faults at once: queries and answers lost, answers duplicated, late
// servers, servers that drop what goes past their limit, and half of them echoing the
// challenge. The retries keep nearly all a patient client keeps, each once, with a
// ping never shorter than the server's delay, and no server gets a third query within
// two seconds.
TEST(ScanEngineTest, onALossyNetworkTheRetriesKeepWhatAPatientClientKeepsWithinEveryServersLimit)
{
    std::vector<GameServerFarm::Server> servers = GameServerFarm::generate(300, {.seed = 11,
                                                                                 .silentFraction = 0.1,
                                                                                 .minimumDelay = 5ms,
                                                                                 .maximumDelay = 30ms,
                                                                                 .lateFraction = 0.1,
                                                                                 .timeout = 200ms,
                                                                                 .limitedFraction = 0.3,
                                                                                 .burstLimitedFraction = 0.3});
    for (std::size_t i = 0; i < servers.size(); i += 2)
        servers[i].echoesChallenge = true;
    GameServerFarm farm(servers, {.seed = 11, .queryLoss = 0.25, .answerLoss = 0.25, .duplicatedAnswers = 0.2});
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 100));

    ScanEngine engine;
    ScanRecorder scan;
    ScanSettings settings = settingsFor(master, 2000, 200ms);
    settings.echoesChallenge = true;
    engine.start(settings, scan.reports());
    scan.waitForTheEnd();

    const QStringList truth = farm.answeringAddresses();
    const QStringList kept = scan.answeredAddresses();
    EXPECT_EQ(QSet<QString>(kept.cbegin(), kept.cend()).size(), kept.size()) << "each server once";
    EXPECT_EQ(scan.counts().answered, kept.size());
    for (const QString& address : kept)
        EXPECT_TRUE(truth.contains(address)) << address.toStdString();
    // One try in 0.56 gets through: one try alone keeps about 56%, three about 92%.
    EXPECT_GE(kept.size(), truth.size() * 85 / 100);

    EXPECT_LE(farm.mostQueriesWithin(1900ms), 2) << "a third query within two seconds";
    for (int i = 0; i < farm.size(); ++i)
        EXPECT_LE(farm.queriesReceivedBy(i), 3) << i;
    expectNoPingShorterThanItsDelay(farm, scan);
}

// Two scans at once keep one pace between them, not one each.
TEST(ScanEngineTest, scansThatRunAtOnceShareOnePace)
{
    GameServerFarm farm(GameServerFarm::generate(1200, {.seed = 4, .maximumDelay = 5ms}));
    const QList<QByteArray> records = farm.masterRecords();
    MasterServerPeer firstHalf;
    firstHalf.setAnswer(MasterServerPeer::listDatagrams(records.mid(0, 600), 200));
    MasterServerPeer secondHalf;
    secondHalf.setAnswer(MasterServerPeer::listDatagrams(records.mid(600), 200));

    ScanEngine engine;
    ScanRecorder first;
    ScanRecorder second;
    engine.start(settingsFor(firstHalf, 1000, 1000ms), first.reports());
    engine.start(settingsFor(secondHalf, 1000, 1000ms), second.reports());
    first.waitForTheEnd();
    second.waitForTheEnd();

    EXPECT_EQ(first.counts().answered + second.counts().answered, 1200);
    // 200 at the pace in any 200 ms, 400 if each scan kept a pace of its own; a
    // held-up thread of the farm's bunches a few more together.
    EXPECT_LE(farm.mostFarmQueriesWithin(200ms), 300);
}

TEST(ScanEngineTest, aStoppedScanQueriesNothingMoreAndKeepsTheAnswersToTheQueriesUnderWay)
{
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 9, .maximumDelay = 5ms}));
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 200));

    ScanEngine engine;
    ScanRecorder scan;
    const ScanEngine::ScanId id = engine.start(settingsFor(master, 1000, 200ms), scan.reports());
    while (farm.queriesReceived() < 20)
        std::this_thread::sleep_for(1ms);
    engine.stop(id);
    scan.waitForTheEnd();

    const ScanCounts counts = scan.counts();
    EXPECT_EQ(counts.listed, 400);
    EXPECT_LT(counts.queried, 400);
    EXPECT_EQ(farm.queriesReceived(), counts.queried) << "no query after the stop";
    EXPECT_EQ(counts.answered, counts.queried) << "the answers to the queries under way still count";
}

TEST(ScanEngineTest, scansOfTwoMastersRunSideBySideAndAnAbandonedScanHasEndedWhenAbandonReturns)
{
    GameServerFarm cod(GameServerFarm::generate(30, {.seed = 1}));
    GameServerFarm uo(GameServerFarm::generate(40, {.seed = 2}));
    MasterServerPeer codMaster;
    MasterServerPeer uoMaster;
    codMaster.setAnswer(MasterServerPeer::listDatagrams(cod.masterRecords(), 10));
    uoMaster.setAnswer(MasterServerPeer::listDatagrams(uo.masterRecords(), 10));
    MasterServerPeer silentMaster;

    ScanEngine engine;
    ScanRecorder codScan;
    ScanRecorder uoScan;
    ScanRecorder abandoned;
    engine.start(settingsFor(codMaster, 2000, 100ms), codScan.reports());
    engine.start(settingsFor(uoMaster, 2000, 100ms), uoScan.reports());
    engine.abandon(engine.start(settingsFor(silentMaster, 2000, 100ms), abandoned.reports()));
    EXPECT_TRUE(abandoned.hasEnded());
    codScan.waitForTheEnd();
    uoScan.waitForTheEnd();
    EXPECT_EQ(codScan.answeredAddresses(), sorted(cod.answeringAddresses()));
    EXPECT_EQ(uoScan.answeredAddresses(), sorted(uo.answeringAddresses()));

    // An engine that goes while a scan runs joins its thread; the scan reports nothing.
    ScanRecorder dropped;
    {
        ScanEngine second;
        second.start(settingsFor(silentMaster, 2000, 100ms), dropped.reports());
    }
    EXPECT_FALSE(dropped.hasEnded());
}

TEST(ScanEngineTest, aMasterDatagramLongerThanAStatusAnswerIsReadWhole)
{
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 4}));
    MasterServerPeer master;
    const QList<QByteArray> oneDatagram = MasterServerPeer::listDatagrams(farm.masterRecords(), farm.size());
    ASSERT_GT(oneDatagram.first().size(), QuakeProtocol::receiveBufferBytes);
    master.setAnswer(oneDatagram);

    ScanEngine engine;
    ScanRecorder scan;
    engine.start(settingsFor(master, 20000, 500ms), scan.reports());
    scan.waitForTheEnd();
    EXPECT_EQ(scan.counts().listed, farm.size());
    EXPECT_EQ(scan.counts().cut, 0);
}

TEST(ScanEngineTest, aLongListThatTheMasterSendsAllAtOnceArrivesWhole)
{
    // The list arrives faster than any thread reads it: whole only where the system
    // lets a user have a receive buffer that holds it.
    QFile largestBuffer(QStringLiteral("/proc/sys/net/core/rmem_max"));
    if (!largestBuffer.open(QIODevice::ReadOnly) || largestBuffer.readAll().trimmed().toInt() < (1 << 20))
        GTEST_SKIP() << "receive buffers are limited to less than 1 MiB here";
    QList<QByteArray> records;
    for (quint32 i = 0; i < 30000; ++i)
        records.append(MasterServerPeer::record((127U << 24 | 2U << 16) + i, 28960));
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(records, 200));

    ScanEngine engine;
    ScanRecorder scan;
    // The longest time-out the preferences offer: on a busy machine the master's
    // sending thread may be held up between two datagrams, and the list must not end
    // on that pause.
    const ScanEngine::ScanId id = engine.start(settingsFor(master, 250, 999ms), scan.reports());
    // The counts are reported as the scan starts, and again once the list is complete.
    while (scan.progressReports().size() < 2)
        std::this_thread::sleep_for(5ms);
    engine.abandon(id);
    EXPECT_EQ(scan.progressReports().at(1).listed, 30000);
}

// Every kind of master at once, each serving part of one farm, the parts overlapping:
// the scan lists what they served, merged, and queries each server once.
TEST(ScanEngineTest, mastersOfEveryFramingAskedAtOnceListExactlyWhatTheyServedMergedAndDeduplicated)
{
    GameServerFarm farm(GameServerFarm::generate(60, {.seed = 12, .maximumDelay = 5ms}));
    const QList<QByteArray> records = farm.masterRecords();
    MasterServerPeer activision;
    activision.setAnswer(MasterServerPeer::activisionDatagrams(records.mid(0, 20), 5));
    MasterServerPeer dpmaster;
    dpmaster.setGameName("Quake3Arena");
    dpmaster.setAnswer({MasterServerPeer::listDatagram(records.mid(15, 15), MasterServerPeer::Ending::EndOfTransmission)});
    TcpMasterPeer cod4x;
    QList<QByteArray> entries;
    for (int i = 25; i < 40; ++i)
        entries.append(TcpMasterPeer::entry(GameServerFarm::host(i), farm.port()));
    cod4x.setAnswer(TcpMasterPeer::stream(entries), TcpMasterPeer::Ending::Silence);
    MasterServerPeer silence;
    silence.setAnswer({MasterServerPeer::listDatagram(records.mid(40, 5), MasterServerPeer::Ending::None)});
    MasterServerPeer lossy;
    lossy.setAnswer(MasterServerPeer::activisionDatagrams(records.mid(45, 10), 2));
    lossy.loseInFirstAnswer({4});
    MasterServerPeer flood;
    QList<QByteArray> flooding;
    for (int i = 0; i < 3000; ++i)
        flooding.append(MasterServerPeer::listDatagram({records[55 + i % 5]}, MasterServerPeer::Ending::None));
    flood.setAnswer(flooding);

    const QByteArray tcpRequest = QuakeProtocol::connectionlessHeader + QByteArray("getservers cod4x 6 full empty \0", 31);
    const auto source = [](quint16 port, const QByteArray& request, MasterSource::Transport transport = MasterSource::Transport::Udp,
                           const QByteArray& prefix = {}) {
        return MasterSource{.label = QString::number(port), .address = {0x7F000001, port}, .transport = transport,
                            .request = request, .entryPrefix = prefix};
    };
    const QByteArray cod = QuakeProtocol::masterRequest(6);
    const QByteArray openArena = QuakeProtocol::connectionlessHeader + "getservers Quake3Arena 71 empty full";
    ScanSettings settings{.timeout = 300ms, .queriesPerSecond = 2000, .masters = {
        source(activision.port(), cod), source(dpmaster.port(), openArena),
        source(cod4x.port(), tcpRequest, MasterSource::Transport::Tcp, QByteArray("\0\0\0\0\4", 5)),
        source(silence.port(), cod), source(lossy.port(), cod), source(flood.port(), cod),
        source(flood.port(), tcpRequest, MasterSource::Transport::Tcp)}};

    ScanEngine engine;
    ScanRecorder scan;
    engine.start(settings, scan.reports());
    scan.waitForTheEnd();

    EXPECT_EQ(scan.answeredAddresses(), sorted(farm.answeringAddresses()));
    EXPECT_EQ(scan.counts().listed, 60);
    for (int i = 0; i < farm.size(); ++i)
        EXPECT_EQ(farm.queriesReceivedBy(i), 1) << i << ": queried once, however many masters listed it";
    EXPECT_EQ(dpmaster.receivedDatagrams(), QList<QByteArray>{openArena});
    EXPECT_EQ(cod4x.requests(), QList<QByteArray>{tcpRequest});
    EXPECT_EQ(lossy.receivedDatagrams().size(), 2) << "asked again once, as its list lost its end";
    EXPECT_EQ(activision.receivedDatagrams().size(), 1);

    const QMap<qsizetype, MasterOutcome> outcomes = scan.masterOutcomes();
    EXPECT_EQ(outcomes.value(0).text(), "listed 20");
    EXPECT_EQ(outcomes.value(1).text(), "listed 15");
    EXPECT_EQ(outcomes.value(2).text(), "listed 15") << "a stream that falls silent is whole";
    EXPECT_EQ(outcomes.value(3).text(), "listed 5");
    EXPECT_EQ(outcomes.value(4).text(), "listed 10");
    EXPECT_EQ(outcomes.value(5).listed, 5);
    EXPECT_EQ(outcomes.value(6).text(), "no answer") << "no TCP master at that port";
    EXPECT_EQ(outcomes.value(2).master, QString::number(cod4x.port())) << "named as the scan was told";
}
