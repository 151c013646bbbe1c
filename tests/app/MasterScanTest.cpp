#include "MainWindowFixture.h"

#include "app/MasterScan.h"
#include "model/GameCatalogue.h"
#include "net/GameMasters.h"
#include "finders/ScanProgress.h"
#include "net/QuakeProtocol.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "support/TableCells.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <future>

namespace {

using namespace std::chrono_literals;
using Answer = GameServerFarm::Answer;

GameServerFarm::Server farmServer(Answer answer, std::chrono::milliseconds delay = 0ms)
{
    return {.hostName = "^1Test^7 server", .mapName = "mp_test", .answerDelay = delay, .answer = answer};
}

// Whether one of the texts is the progress of a Call of Duty scan of that many servers.
bool toldProgressOf(const QStringList& labels, int listed)
{
    const QRegularExpression progress(QStringLiteral("^Call of Duty: \\d+ of %1 queried, \\d+ answered$").arg(listed));
    return labels.indexOf(progress) >= 0;
}

}  // namespace

TEST(MasterScanRulesTest, portsAndHosts)
{
    for (const char* refused : {"1", "65535", "0", "-20510", "port", ""})
        EXPECT_FALSE(GameMasters::masterPort(QString::fromLatin1(refused))) << refused;
    EXPECT_EQ(GameMasters::masterPort(" 20510 (CoD)"), 20510);
    // "127.1" is not dotted-decimal, so it goes through the host look-up, which reads
    // it as a numeric form without asking a resolver or /etc/hosts.
    EXPECT_EQ(MasterScan::getIpFromString("127.1"), "127.0.0.1");
    EXPECT_EQ(MasterScan::getIpFromString("10.0.0.1"), "10.0.0.1");
}

TEST(MasterScanCountsTest, aScanKeepsItsCountsOfListedQueriedAndAnsweredServers)
{
    TestPreferences::installFresh();
    TestPreferences::setTimeout(100000);
    GameServerFarm farm(GameServerFarm::generate(50, {.seed = 2, .silentFraction = 0.2}));
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords() + farm.masterRecords().mid(0, 5), 20));
    TestPreferences::pointMaster(QStringLiteral("CoD4"), master.port());
    std::mutex lock;
    ScanEngine engine;
    MasterScan scan(*GameCatalogue::standard().find("cod4"), engine, lock);
    std::promise<int> kept;

    scan.begin();
    scan.start({[](const ScanCounts&) {}, [&kept](int servers) { kept.set_value(servers); }, [] {}, [] {}, {}});
    const int answering = static_cast<int>(farm.answeringAddresses().size());
    EXPECT_EQ(kept.get_future().get(), answering);
    EXPECT_EQ(scan.progress(), (ScanCounts{.listed = 50, .queried = 50, .answered = answering}));
}

class MasterScanTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TestPreferences::setTimeout(100000);
        TestPreferences::pointMaster("CoD", master.port());
    }

    QString label(const char* name) const { return control<QLabel>(name).text(); }
    bool indicatorTurns() const { return control<QProgressBar>("serversRefreshIndicator").isVisible(); }

    // Runs the window's events until the scan's running flag drops, then makes sure
    // the engine dropped it and delivers what it queued.
    void waitForTheEndOf(int tag) const
    {
        while (controller->masterIsRefreshing(tag))
            QTest::qWait(5);
        controller->stopMasterScans();
        QCoreApplication::processEvents();
    }

    MasterServerPeer master;
};

TEST_F(MasterScanTest, aScanKeepsTheServersThatAnswerWithoutHoldingUpTheWindowAndHandsTheListsOverAsItGoes)
{
    GameServerFarm farm(GameServerFarm::generate(600, {.seed = 7, .silentFraction = 0.1, .maximumDelay = 3ms}));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 110));
    TestPreferences::setSpeed(500);
    start();
    QSignalSpy started(controller.get(), &Zorvel::masterScanStarted);
    QStringList labels;
    QList<qsizetype> handedOverSizes;
    QObject::connect(controller.get(), &Zorvel::masterListsChanged, [&] {
        handedOverSizes.append(controller->masterServers(0).size());
        labels.append(label("scanProgress-cod"));
    });

    control<QAction>("scan-cod").trigger();
    EXPECT_EQ(started.count(), 1);
    EXPECT_TRUE(indicatorTurns());
    EXPECT_TRUE(controller->masterIsRefreshing(0)) << "the command does not wait for the scan";
    EXPECT_TRUE(label("scanProgress-cod").startsWith("Call of Duty: ")) << "its counts show at once";
    waitForTheEndOf(0);

    EXPECT_EQ(sorted(addressesOf(controller->masterServers(0))), sorted(farm.answeringAddresses()));
    EXPECT_EQ(label("scanProgress-cod"),
              QString::asprintf("Call of Duty: %i servers in database", static_cast<int>(farm.answeringAddresses().size())));
    EXPECT_FALSE(indicatorTurns());
    ASSERT_GE(handedOverSizes.size(), 2) << "hand-overs while the list grows, and at the end";
    EXPECT_LT(handedOverSizes.first(), handedOverSizes.last());
    EXPECT_EQ(handedOverSizes.last(), controller->masterServers(0).size());
    EXPECT_TRUE(toldProgressOf(labels, 600)) << labels.join('|').toStdString();
    EXPECT_TRUE(controller->masterServers(1).isEmpty());
}

TEST_F(MasterScanTest, aStopRightAfterTheStartEndsTheScanWithWhatAnsweredSoFar)
{
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 4}));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 100));
    TestPreferences::setSpeed(2000);
    start();

    controller->scanServers(0);
    controller->scanServersStop(0);
    waitForTheEndOf(0);

    const qsizetype kept = controller->masterServers(0).size();
    EXPECT_LT(farm.queriesReceived(), farm.size());
    EXPECT_LE(kept, farm.queriesReceived());
    EXPECT_EQ(label("scanProgress-cod"),
              "Call of Duty: " + ScanProgress::serversInDatabase(static_cast<int>(kept), true));
    EXPECT_TRUE(alerts->shown().isEmpty()) << "a stop is no failure of the master";
}

TEST_F(MasterScanTest, anUnusableMasterEndsTheScanAtOnceAndASilentOneAfterItsTimeout)
{
    TestPreferences::pointMaster("UO", 1);
    start();
    controller->scanServers(1);
    waitForTheEndOf(1);
    EXPECT_EQ(label("scanProgress-uo"), "United Offensive: No response");
    EXPECT_FALSE(controller->masterIsRefreshing(1));
    EXPECT_TRUE(master.receivedDatagrams().isEmpty());
    EXPECT_TRUE(alerts->shown().isEmpty());

    TestPreferences::setTimeout(100000);
    controller->scanServers(0);
    EXPECT_TRUE(controller->masterIsRefreshing(0));
    waitForTheEndOf(0);
    EXPECT_EQ(label("scanProgress-cod"), "Call of Duty: Try again...") << "a silent master";
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().last().title, "Communication error !");
    EXPECT_FALSE(indicatorTurns());
}

// The master's host name is looked up by a name server that answers only when the
// test says so: meanwhile the scan command has returned and the window goes on.
TEST_F(MasterScanTest, aMastersHostNameIsLookedUpWithoutHoldingUpTheWindow)
{
    std::promise<QString> firstAnswer;
    std::promise<QString> secondAnswer;
    std::shared_future<QString> answers[] = {firstAnswer.get_future().share(), secondAnswer.get_future().share()};
    std::atomic<int> asked = 0;
    // Counted once each look-up read its answer: the test waits for both before its
    // answers go, as the look-ups' threads are detached and never joined.
    std::atomic<int> answered = 0;
    MasterScan::setHostLookup([&](const QString& host) {
        EXPECT_EQ(host, "master.zorvel.test");
        QString answer = answers[asked++].get();
        ++answered;
        return answer;
    });
    const auto realLookup = qScopeGuard([] { MasterScan::setHostLookup(MasterScan::getIpFromString); });
    Preferences::standard().setObject(QStringLiteral("master.zorvel.test"), QStringLiteral("CoD Master Server"));
    start();

    // Stopped while its master is looked up, a scan ends at once with nothing listed,
    // and the address that comes later is not used.
    controller->scanServers(0);
    EXPECT_TRUE(controller->masterIsRefreshing(0));
    EXPECT_TRUE(indicatorTurns());
    controller->scanServersStop(0);
    EXPECT_FALSE(controller->masterIsRefreshing(0));
    firstAnswer.set_value(QStringLiteral("127.0.0.1"));
    QTest::qWait(20);
    EXPECT_EQ(label("scanProgress-cod"), "Call of Duty: 0 servers in database (stopped)");
    EXPECT_FALSE(indicatorTurns());

    // Once looked up, the master is asked for its list; a silent one ends the scan.
    controller->scanServers(0);
    EXPECT_TRUE(master.receivedDatagrams().isEmpty());
    secondAnswer.set_value(QStringLiteral("127.0.0.1"));
    waitForTheEndOf(0);
    EXPECT_EQ(master.receivedDatagrams().size(), 1);
    EXPECT_EQ(label("scanProgress-cod"), "Call of Duty: Try again...");

    // A name that does not resolve: "No response".
    MasterScan::setHostLookup([](const QString&) { return QString(); });
    controller->scanServers(0);
    waitForTheEndOf(0);
    EXPECT_EQ(label("scanProgress-cod"), "Call of Duty: No response");
    EXPECT_EQ(master.receivedDatagrams().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(answered.load(), 2, 60000);
}

TEST_F(MasterScanTest, quitDoesNotWaitForAMasterLookUpThatHangs)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto lookUpEnded = std::make_shared<std::promise<bool>>();
    std::future<bool> releasedByTheTest = lookUpEnded->get_future();
    // Held by the look-up's thread alone once the scan started: it expires as that
    // thread ends.
    auto heldByTheLookUp = std::make_shared<int>();
    const std::weak_ptr<int> lookUpThread = heldByTheLookUp;
    // The resolver answers when the test says so, or at the latest after a minute.
    MasterScan::setHostLookup([released, lookUpEnded, held = std::move(heldByTheLookUp)](const QString&) {
        lookUpEnded->set_value(released.wait_for(60s) == std::future_status::ready);
        return QStringLiteral("127.0.0.1");
    });
    Preferences::standard().setObject(QStringLiteral("master.zorvel.test"), QStringLiteral("CoD Master Server"));
    start();
    controller->scanServers(0);
    MasterScan::setHostLookup(MasterScan::getIpFromString);

    // The run ends while the master's name is looked up: the end does not wait for the
    // resolver, whose answer comes later to nobody.
    endRunWithoutPrompt();
    release.set_value();
    EXPECT_TRUE(releasedByTheTest.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return lookUpThread.expired(); }, 60000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(master.receivedDatagrams().isEmpty());
}

TEST_F(MasterScanTest, duplicatesUnusableAddressesSilentAndGarbledServersLeaveOnlyTheAnsweringOnesListedOnce)
{
    GameServerFarm farm({farmServer(Answer::Status), farmServer(Answer::Status), farmServer(Answer::Garbage),
                         farmServer(Answer::Silent), farmServer(Answer::Status, 20ms)});
    const QList<QByteArray> records = farm.masterRecords();
    master.setAnswer({MasterServerPeer::listDatagram({records[0], records[1], records[0],
                                                      MasterServerPeer::record(0, farm.port()),
                                                      MasterServerPeer::record(0xFFFFFFFF, farm.port())},
                                                     MasterServerPeer::Ending::EndOfDatagram),
                      MasterServerPeer::listDatagram({records[2], records[3], records[4], records[1]},
                                                     MasterServerPeer::Ending::EndOfFile)});
    Preferences::standard().setObject(QStringLiteral("115 (CoD2)"), QStringLiteral("CoD Master Server Protocol"));
    // The longest the settings take, so that an answer rarely comes after its time-out
    // on a loaded machine; one that does is rightly asked again.
    TestPreferences::setTimeout(999999);
    start();
    QStringList labels;
    QObject::connect(controller.get(), &Zorvel::masterListsChanged,
                     [&] { labels.append(label("scanProgress-cod")); });

    controller->scanServers(0);
    waitForTheEndOf(0);

    EXPECT_EQ(sorted(addressesOf(controller->masterServers(0))),
              sorted({farm.address(0), farm.address(1), farm.address(2), farm.address(4)}));
    EXPECT_TRUE(toldProgressOf(labels, 5)) << labels.join('|').toStdString();
    EXPECT_EQ(label("scanProgress-cod"), "Call of Duty: 4 servers in database");
    EXPECT_EQ(master.receivedDatagrams(), QList<QByteArray>{QuakeProtocol::connectionlessHeader + "getservers 115 empty full"});
    EXPECT_EQ(farm.queriesReceivedBy(3), 3) << "the silent one is asked up to the preferences' three tries";
    for (const int answering : {0, 1, 2, 4}) {
        EXPECT_GE(farm.queriesReceivedBy(answering), 1) << answering;
        EXPECT_LE(farm.queriesReceivedBy(answering), 3) << answering << ": three tries at most";
    }
}

TEST_F(MasterScanTest, quittingInTheMiddleOfScansWaitsForTheEngine)
{
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 3, .silentFraction = 0.2, .maximumDelay = 20ms}));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 150));
    TestPreferences::pointMaster("UO", master.port());
    TestPreferences::setSpeed(2000);
    start();

    controller->scanServers(0);
    controller->scanServers(1);
    while (farm.queriesReceived() < 16)
        QTest::qWait(5);
    controller->stopMasterScans();
    EXPECT_FALSE(controller->masterIsRefreshing(0) || controller->masterIsRefreshing(1));
    const int queried = farm.queriesReceived();
    EXPECT_LT(queried, 2 * farm.size());
    QCoreApplication::processEvents();

    controller->scanServers(0);
    while (farm.queriesReceived() < queried + 4)
        QTest::qWait(5);
    window.reset();
    controller.reset();
    EXPECT_LT(farm.queriesReceived(), queried + farm.size());
}
