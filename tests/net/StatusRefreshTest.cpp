#include "model/CodServer.h"
#include "net/MapListListener.h"
#include "peers/GameServerPeer.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QByteArray cfgRequest = "rcon secret fdir /[a-z]*.cfg";
const QByteArray codMapRequest = "rcon secret fdir maps/mp*.bsp";

QByteArray listingOf(const QByteArray& lines)
{
    return GameServerPeer::printDatagram("---------------\n" + lines + "2 files listed\n");
}

class StatusRefreshTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        RecordingAlerts::install();
        peer.setRconPassword("secret");
        peer.setStatusAnswer({GameServerPeer::statusDatagram(
            "\\sv_hostname\\^1Big^7Server\\gamename\\Call of Duty\\mapname\\mp_test\\g_gametype\\sd"
            "\\sv_maxclients\\20\n5 48 \"^2Joe\"\n12 60 \"Ann\"\n")});
        peer.setRconAnswer("fdir /[a-z]*.cfg", {listingOf("/server.cfg\n/language.cfg\n")});
        peer.setRconAnswer("fdir maps/mp*.bsp", {listingOf("maps/mp/mp_harbor.bsp\nmaps/mp/mp_carentan.bsp\n")});
        server->setServerIp(QString::fromLatin1(peer.address()));
        server->setServerPass(QStringLiteral("secret"));
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

    // Processes the UI thread's events until the map list was announced.
    void waitForMapList() const
    {
        while (notified.isEmpty())
            QTest::qWait(5);
    }

    GameServerPeer peer;
    CodServerPtr server = CodServer::create();
    QList<CodServerPtr> notified;
};

}  // namespace

TEST_F(StatusRefreshTest, anAnswerReplacesTheStatusFieldsThenConfigurationsComeAtOnceAndCallsForTheMaps)
{
    // Without password only the status is asked for, and no map listing follows.
    server->setServerPass(QString());
    server->serverRefresh();
    EXPECT_EQ(requests(), QList<QByteArray>{"getstatus"});
    EXPECT_FALSE(server->mapListingIsDue());

    server->setServerPass(QStringLiteral("secret"));
    server->setServerAdmin(QStringLiteral("stale admin"));
    const QDateTime before = QDateTime::currentDateTime();
    server->serverRefresh();
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(QStringList({server->serverName(), server->serverGameName(), server->serverMapName(),
                           server->serverGametype(), server->serverMaxClients(), server->serverAdmin()}),
              QStringList({"BigServer", "Call of Duty", "mp_test", "sd", "20", ""}));
    ASSERT_EQ(server->serverPlayers().size(), 2);
    EXPECT_EQ(server->serverPlayers().at(1)->playerName(), "Ann");
    EXPECT_EQ(server->serverPlayers().at(1)->playerNumber(), "1");
    EXPECT_GE(server->lastUpdate().value(), before);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ping: [ \\d]{2}\\d+ ms$")).match(server->serverPing()).hasMatch())
        << server->serverPing().toStdString();
    EXPECT_EQ(server->cfgList(), QStringList{"server.cfg"});
    EXPECT_TRUE(server->mapList().isEmpty());
    EXPECT_EQ(requests(), QList<QByteArray>({"getstatus", "getstatus", cfgRequest}));

    ASSERT_TRUE(server->mapListingIsDue());
    std::thread([this] { server->mapListRefresh(); }).join();
    waitForMapList();
    EXPECT_EQ(server->mapList(), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(notified, QList<CodServerPtr>{server});
    EXPECT_EQ(requests().last(), codMapRequest);

    // A silent refresh clears the status but keeps the listings and the last answer's time.
    const std::optional<QDateTime> answeredAt = server->lastUpdate();
    peer.setSilent(true);
    server->serverRefresh();
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_FALSE(server->mapListingIsDue());
    EXPECT_EQ(server->serverPing(), "Ping: --- ms");
    EXPECT_EQ(server->serverMapName(), "");
    EXPECT_TRUE(server->serverPlayers().isEmpty());
    EXPECT_EQ(server->lastUpdate(), answeredAt);
    EXPECT_EQ(server->serverName(), "BigServer");
    EXPECT_EQ(server->cfgList(), QStringList{"server.cfg"});
    EXPECT_EQ(server->mapList().size(), 2);
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

TEST_F(StatusRefreshTest, aFailedListingEndsTheRefreshWithRconFailedAndARefreshFromItsAlertReturnsAtOnce)
{
    auto alerts = std::make_unique<RefreshingAlerts>(server);
    RefreshingAlerts& shown = *alerts;
    Alerts::install(std::move(alerts));
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        server->sendCommandToServer(QStringLiteral("say hi"), 1);
    ASSERT_TRUE(shown.shown().isEmpty());

    // Its configuration listing is the seventh bad-password answer: the alert opens.
    server->serverRefresh();
    ASSERT_EQ(shown.shown().size(), 1);
    EXPECT_EQ(requests().count("getstatus"), 1);
    EXPECT_EQ(server->commError(), CodServer::RconFailed);
    EXPECT_TRUE(server->cfgList().isEmpty());
    EXPECT_EQ(server->serverMapName(), "mp_test");
    EXPECT_EQ(server->serverPass(), "");
    // The map listing still follows; it fails too and leaves an empty list.
    ASSERT_TRUE(server->mapListingIsDue());
    server->mapListRefresh();
    EXPECT_TRUE(server->mapList().isEmpty());
}
