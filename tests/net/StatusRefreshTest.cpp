#include "app/Preferences.h"
#include "model/CodServer.h"
#include "net/MapListListener.h"
#include "peers/GameServerPeer.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

const QByteArray cfgCommand = "fdir /[a-z]*.cfg";
const QByteArray codMapCommand = "fdir maps/mp*.bsp";

QByteArray statusOf(const QByteArray& gameName)
{
    return GameServerPeer::statusDatagram("\\sv_hostname\\^1Big^7Server\\gamename\\" + gameName
                                          + "\\mapname\\mp_test\\g_gametype\\sd\\sv_maxclients\\20\n"
                                            "5 48 \"^2Joe\"\n"
                                            "12 60 \"Ann\"\n");
}

QByteArray listingOf(const QByteArray& lines)
{
    return GameServerPeer::printDatagram("---------------\n" + lines + "2 files listed\n");
}

// Processes the UI thread's events until the condition holds.
template <typename Condition>
void processEventsUntil(Condition done)
{
    while (!done())
        QTest::qWait(5);
}

class StatusRefreshTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        Preferences::standard().setObject(QStringLiteral("20 ms"), QStringLiteral("Latency for double command"));
        RecordingAlerts::install();
        peer.setRconPassword("secret");
        peer.setStatusAnswer({statusOf("Call of Duty")});
        peer.setRconAnswer(cfgCommand, {listingOf("/server.cfg\n/language.cfg\n")});
        peer.setRconAnswer(codMapCommand, {listingOf("maps/mp/mp_harbor.bsp\nmaps/mp/mp_carentan.bsp\n")});
        server->setServerIp(QString::fromLatin1(peer.address()));
        MapListListener::setMapListListener([this](const CodServerPtr& record) {
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            notified.append(record);
        });
    }

    void TearDown() override { MapListListener::setMapListListener({}); }

    QList<QByteArray> requests() const
    {
        QList<QByteArray> bodies;
        for (const QByteArray& datagram : peer.receivedDatagrams())
            bodies.append(datagram.mid(4));
        return bodies;
    }

    GameServerPeer peer;
    CodServerPtr server = CodServer::create();
    QList<CodServerPtr> notified;
};

}  // namespace

TEST_F(StatusRefreshTest, anAnswerReplacesTheStatusFieldsAndInstallsANewPlayerList)
{
    server->setServerName(QStringLiteral("typed by the user"));
    server->setServerAdmin(QStringLiteral("stale admin"));
    server->setServerPunkBuster(QStringLiteral("1"));
    const auto oldPlayer = std::make_shared<CodPlayer>();
    server->setServerPlayers({oldPlayer});
    const QList<CodPlayerPtr> heldByTheWindow = server->serverPlayers();
    const QDateTime before = QDateTime::currentDateTime();

    server->serverRefresh();

    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverName(), "BigServer");
    EXPECT_EQ(server->serverGameName(), "Call of Duty");
    EXPECT_EQ(server->serverMapName(), "mp_test");
    EXPECT_EQ(server->serverGametype(), "sd");
    EXPECT_EQ(server->serverMaxClients(), "20");
    EXPECT_EQ(server->serverAdmin(), "");
    EXPECT_EQ(server->serverPunkBuster(), "");
    ASSERT_EQ(server->serverPlayers().size(), 2);
    EXPECT_EQ(server->serverPlayers().at(1)->playerName(), "Ann");
    EXPECT_EQ(server->serverPlayers().at(1)->playerNumber(), "1");
    EXPECT_EQ(heldByTheWindow, QList<CodPlayerPtr>{oldPlayer});
    ASSERT_TRUE(server->lastUpdate().has_value());
    EXPECT_GE(*server->lastUpdate(), before);

    const QRegularExpressionMatch ping = QRegularExpression(QStringLiteral("^Ping: ( *\\d+) ms$")).match(server->serverPing());
    ASSERT_TRUE(ping.hasMatch()) << server->serverPing().toStdString();
    EXPECT_GE(ping.captured(1).size(), 3);

    // Without a password the record asks for no listing.
    QTest::qWait(100);
    EXPECT_EQ(requests(), QList<QByteArray>{"getstatus"});
    EXPECT_TRUE(notified.isEmpty());
}

TEST_F(StatusRefreshTest, aServerThatDoesNotAnswerLeavesEmptyFieldsAndTheOldLastUpdate)
{
    server->setServerPass(QStringLiteral("secret"));
    server->serverRefresh();
    processEventsUntil([this] { return !notified.isEmpty(); });
    const std::optional<QDateTime> answeredAt = server->lastUpdate();
    ASSERT_EQ(server->mapList().size(), 2);

    peer.setSilent(true);
    server->serverRefresh();
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_EQ(server->serverPing(), "Ping: --- ms");
    EXPECT_EQ(server->serverMapName(), "");
    EXPECT_EQ(server->serverGameName(), "");
    EXPECT_TRUE(server->serverPlayers().isEmpty());
    EXPECT_EQ(server->lastUpdate(), answeredAt);
    EXPECT_EQ(server->serverName(), "BigServer");
    // The listings of the last answered refresh stay.
    EXPECT_EQ(server->cfgList(), QStringList{"server.cfg"});
    EXPECT_EQ(server->mapList().size(), 2);
}

TEST_F(StatusRefreshTest, withAPasswordTheConfigurationsComeAtOnceAndTheMapsOneLatencyLater)
{
    server->setServerPass(QStringLiteral("secret"));
    server->serverRefresh();

    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->cfgList(), QStringList{"server.cfg"});
    EXPECT_TRUE(server->mapList().isEmpty());
    EXPECT_EQ(requests(), QList<QByteArray>({"getstatus", "rcon secret " + cfgCommand}));

    processEventsUntil([this] { return !notified.isEmpty(); });
    EXPECT_EQ(server->mapList(), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(notified, QList<CodServerPtr>{server});
    const QList<UdpPeer::Received> received = peer.received();
    ASSERT_EQ(received.size(), 3);
    EXPECT_EQ(received.at(2).datagram.mid(4), "rcon secret " + codMapCommand);
    EXPECT_GE(received.at(2).at - received.at(1).at, 20ms);
}

TEST_F(StatusRefreshTest, aRefreshOnAWorkerThreadFetchesTheConfigurationsButNoMaps)
{
    server->setServerPass(QStringLiteral("secret"));
    std::thread worker([this] { server->serverRefresh(); });
    worker.join();
    EXPECT_EQ(server->cfgList(), QStringList{"server.cfg"});

    QTest::qWait(200);
    EXPECT_EQ(requests(), QList<QByteArray>({"getstatus", "rcon secret " + cfgCommand}));
    EXPECT_TRUE(server->mapList().isEmpty());
    EXPECT_TRUE(notified.isEmpty());
}

TEST_F(StatusRefreshTest, aGameWithoutMapListingIsAskedForConfigurationsOnly)
{
    peer.setStatusAnswer({statusOf("etpro")});
    server->setServerPass(QStringLiteral("secret"));
    server->serverRefresh();
    QTest::qWait(200);
    EXPECT_EQ(requests(), QList<QByteArray>({"getstatus", "rcon secret " + cfgCommand}));
    EXPECT_TRUE(notified.isEmpty());
}

TEST_F(StatusRefreshTest, aFailedConfigurationListingEndsTheRefreshWithRconFailed)
{
    server->setServerPass(QStringLiteral("wrong"));
    server->serverRefresh();
    EXPECT_EQ(server->commError(), CodServer::RconFailed);
    EXPECT_TRUE(server->cfgList().isEmpty());
    EXPECT_EQ(server->serverMapName(), "mp_test");
    // The map listing still follows; it fails too and leaves an empty list.
    processEventsUntil([this] { return !notified.isEmpty(); });
    EXPECT_TRUE(server->mapList().isEmpty());
}

TEST_F(StatusRefreshTest, aMapListRebuiltOnAWorkerIsAnnouncedOnTheUiThread)
{
    server->setServerPass(QStringLiteral("secret"));
    server->setServerGameName(QStringLiteral("Call of Duty"));
    std::thread worker([this] { server->mapListRefresh(); });
    worker.join();
    EXPECT_EQ(server->mapList().size(), 2);
    EXPECT_TRUE(notified.isEmpty());
    processEventsUntil([this] { return !notified.isEmpty(); });
    EXPECT_EQ(notified, QList<CodServerPtr>{server});
}

namespace {

// Refreshes the record again from inside the modal password alert, as a timer could
// while the alert's own event loop runs.
class RefreshingAlerts : public RecordingAlerts {
public:
    explicit RefreshingAlerts(CodServerPtr server) : server(std::move(server)) {}

    Answer runAlert(const QString& title, const QString& message, const QString& defaultButton,
                    const QString& alternateButton, const QString& otherButton) override
    {
        server->serverRefresh();
        return RecordingAlerts::runAlert(title, message, defaultButton, alternateButton, otherButton);
    }

private:
    CodServerPtr server;
};

}  // namespace

TEST_F(StatusRefreshTest, aRefreshAskedForWhileOneIsUnderWayReturnsAtOnce)
{
    auto alerts = std::make_unique<RefreshingAlerts>(server);
    RefreshingAlerts& shown = *alerts;
    Alerts::install(std::move(alerts));
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        server->sendCommandToServer(QStringLiteral("say hi"), 1);

    // Its configuration listing is the seventh bad-password answer: the alert opens.
    server->serverRefresh();
    ASSERT_EQ(shown.shown().size(), 1);
    EXPECT_EQ(requests().count("getstatus"), 1);
    EXPECT_EQ(server->serverMapName(), "mp_test");
    EXPECT_EQ(server->serverPass(), "");
    processEventsUntil([this] { return !notified.isEmpty(); });
}
