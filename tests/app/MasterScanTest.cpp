#include "MainWindowFixture.h"

#include "app/MasterScan.h"
#include "app/Preferences.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace std::chrono_literals;
using Answer = GameServerFarm::Answer;

QList<qsizetype> sizesOf(const QList<QStringList>& batches)
{
    QList<qsizetype> sizes;
    for (const QStringList& batch : batches)
        sizes.append(batch.size());
    return sizes;
}

QStringList numbered(int count)
{
    QStringList addresses;
    for (int i = 0; i < count; ++i)
        addresses.append(QStringLiteral("10.0.%1.%2:28960").arg(i / 256).arg(i % 256));
    return addresses;
}

// Sorted, so that lists compare whatever their order and a duplicate shows.
QStringList sorted(QStringList addresses)
{
    addresses.sort();
    return addresses;
}

QStringList addressesOf(const QList<CodServerPtr>& servers)
{
    QStringList addresses;
    for (const CodServerPtr& server : servers)
        addresses.append(server->serverIp());
    return sorted(addresses);
}

GameServerFarm::Server farmServer(Answer answer, std::chrono::milliseconds delay = 0ms)
{
    return {.hostName = "^1Test^7 server", .mapName = "mp_test", .answerDelay = delay, .answer = answer};
}

}  // namespace

TEST(MasterScanRulesTest, batchesPortsHostsAndTheAddressesOfAReply)
{
    const QList<QStringList> batches = MasterScan::batchesOf(numbered(600), 250);
    EXPECT_EQ(sizesOf(batches), (QList<qsizetype>{250, 250, 100}));
    EXPECT_EQ(batches.at(2).first(), numbered(600).at(500));
    EXPECT_EQ(sizesOf(MasterScan::batchesOf(numbered(3), 0)), (QList<qsizetype>{1, 1, 1}));

    for (const char* refused : {"1", "65535", "0", "-20510", "port", ""})
        EXPECT_FALSE(MasterScan::masterPort(QString::fromLatin1(refused))) << refused;
    EXPECT_EQ(MasterScan::masterPort(" 20510 (CoD)"), 20510);
    EXPECT_EQ(MasterScan::getIpFromString("localhost"), "127.0.0.1");
    EXPECT_EQ(MasterScan::getIpFromString("127.1"), "127.0.0.1");

    // No semicolon, no list; each usable server once.
    EXPECT_FALSE(MasterScan::addressesInReply("Error: Unable to receive server response"));
    EXPECT_EQ(MasterScan::addressesInReply("1.2.3.4:28960;5.6.7.8:1;1.2.3.4:28960;0.0.0.0:28960;0.1.2.3:28960;"
                                           "255.255.255.255:28960;239.1.1.1:28960;9.9.9.9:0;223.1.1.1:65535;"),
              (QStringList{"1.2.3.4:28960", "5.6.7.8:1", "223.1.1.1:65535"}));
}

class MasterScanTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TestPreferences::setTimeout(100000);
        pointMaster("CoD", master.port());
    }

    static void pointMaster(const QString& game, int port)
    {
        Preferences::standard().setObject(QStringLiteral("127.0.0.1"), game + " Master Server");
        Preferences::standard().setObject(QString::number(port), game + " Master Server Port");
    }
    static void setBatchSize(int servers)
    {
        Preferences::standard().setObject(servers, QStringLiteral("Number of servers by thread"));
    }

    QString label(const char* name) const { return control<QLabel>(name).text(); }
    bool indicatorTurns() const { return control<QProgressBar>("serversRefreshIndicator").isVisible(); }

    // Runs the window's events until the scan's running flag drops, then waits for
    // its threads and delivers what they queued.
    template <typename RefreshState>
    void waitForTheEndOf(RefreshState refreshState) const
    {
        while ((controller.get()->*refreshState)())
            QTest::qWait(5);
        controller->stopMasterScans();
        QCoreApplication::processEvents();
    }

    MasterServerPeer master;
};

TEST_F(MasterScanTest, aScanKeepsTheServersThatAnswerAndHandsTheListsOverAsItGoes)
{
    GameServerFarm farm(GameServerFarm::generate(600, {.seed = 7, .silentFraction = 0.1, .maximumDelay = 3ms}));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 110));
    setBatchSize(250);
    start();
    QSignalSpy started(controller.get(), &Zorvel::masterScanStarted);
    QList<qsizetype> handedOverSizes;
    QObject::connect(controller.get(), &Zorvel::masterListsChanged,
                     [&] { handedOverSizes.append(controller->activeCodServers().size()); });

    control<QAction>("scanCodServers").trigger();
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(label("numberOfCodServerToScan"), "600 servers to scan...");
    EXPECT_TRUE(indicatorTurns());
    waitForTheEndOf(&Zorvel::codRefreshState);

    EXPECT_EQ(addressesOf(controller->activeCodServers()), sorted(farm.answeringAddresses()));
    EXPECT_FALSE(indicatorTurns());
    // Batches of 250, 250 and 100 ask for a hand-over after servers 0, 20, ... 240 (or
    // 80) and at each end; those asked for while one is queued fold into it, and the
    // last one hands the whole list over.
    ASSERT_FALSE(handedOverSizes.isEmpty());
    EXPECT_LE(handedOverSizes.size(), 14 + 14 + 6);
    EXPECT_EQ(handedOverSizes.last(), controller->activeCodServers().size());
    EXPECT_TRUE(controller->activeUOServers().isEmpty());
}

TEST_F(MasterScanTest, stoppingRightAfterTheStartKeepsAtMostTheFirstServerOfEachBatch)
{
    // The servers answer late enough that the stop comes before any first answer,
    // even on a slow, loaded machine.
    TestPreferences::setTimeout(999000);
    GameServerFarm farm(std::vector<GameServerFarm::Server>(60, farmServer(Answer::Status, 800ms)));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 25));
    setBatchSize(20);
    start();

    controller->scanCodServers();
    controller->scanCodServersStop();
    waitForTheEndOf(&Zorvel::codRefreshState);

    const QStringList firsts = {farm.address(0), farm.address(20), farm.address(40)};
    for (const QString& kept : addressesOf(controller->activeCodServers()))
        EXPECT_TRUE(firsts.contains(kept)) << kept.toStdString();
}

TEST_F(MasterScanTest, anUnusableOrSilentMasterEndsTheScanAtOnce)
{
    pointMaster("UO", 1);
    start();
    controller->scanUOServers();
    controller->scanCodServers();
    EXPECT_EQ(label("numberOfUOServerToScan"), "No response");
    EXPECT_EQ(label("numberOfCodServerToScan"), "Try again...") << "a silent master";
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Communication error !");
    EXPECT_FALSE(controller->codRefreshState() || controller->uoRefreshState());
    EXPECT_FALSE(indicatorTurns());
}

TEST_F(MasterScanTest, duplicatesUnusableAddressesSilentAndGarbledServersLeaveOnlyTheAnsweringOnesListedOnce)
{
    GameServerFarm farm({farmServer(Answer::Status), farmServer(Answer::Status), farmServer(Answer::Garbage),
                         farmServer(Answer::Silent), farmServer(Answer::Status, 20ms)});
    const QList<QByteArray> records = farm.masterRecords();
    master.setAnswer({MasterServerPeer::listDatagram({records[0], records[1], records[0],
                                                      MasterServerPeer::record(0, farm.port(1)),
                                                      MasterServerPeer::record(0xFFFFFFFF, farm.port(1))},
                                                     MasterServerPeer::Ending::EndOfTransmission),
                      MasterServerPeer::listDatagram({records[2], records[3], records[4], records[1]},
                                                     MasterServerPeer::Ending::EndOfFile)});
    setBatchSize(2);
    start();

    controller->scanCodServers();
    EXPECT_EQ(label("numberOfCodServerToScan"), "5 servers to scan...");
    waitForTheEndOf(&Zorvel::codRefreshState);

    EXPECT_EQ(addressesOf(controller->activeCodServers()),
              sorted({farm.address(0), farm.address(1), farm.address(2), farm.address(4)}));
    EXPECT_EQ(label("numberOfCodServerToScan"), "4 servers in database");
    for (int i = 0; i < farm.size(); ++i)
        EXPECT_EQ(farm.queriesReceivedBy(i), 1) << i;
}

TEST_F(MasterScanTest, quittingInTheMiddleOfScansJoinsTheirThreads)
{
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 3, .silentFraction = 0.2, .maximumDelay = 20ms}));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 150));
    pointMaster("UO", master.port());
    setBatchSize(100);
    start();

    controller->scanCodServers();
    controller->scanUOServers();
    while (farm.queriesReceived() < 16)
        QTest::qWait(5);
    controller->stopMasterScans();
    EXPECT_FALSE(controller->codRefreshState() || controller->uoRefreshState());
    EXPECT_LT(farm.queriesReceived(), 2 * farm.size());
    QCoreApplication::processEvents();

    const int queried = farm.queriesReceived();
    controller->scanCodServers();
    while (farm.queriesReceived() < queried + 4)
        QTest::qWait(5);
    window.reset();
    controller.reset();
    QCoreApplication::processEvents();
    EXPECT_LT(farm.queriesReceived(), queried + farm.size());
}
