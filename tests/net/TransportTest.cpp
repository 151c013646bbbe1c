#include "app/Preferences.h"
#include "model/CodServer.h"
#include "peers/GameServerPeer.h"
#include "support/LogCapture.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString noAnswer = QStringLiteral("Error: Unable to receive server response");
const QByteArray header("\xff\xff\xff\xff", 4);

class TransportTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        alerts = &RecordingAlerts::install();
        peer.setRconPassword("secret");
        server->setServerIp(QString::fromLatin1(peer.address()));
        server->setServerPass(QStringLiteral("secret"));
    }

    QString send(const QString& command, int type) { return server->sendCommandToServer(command, type); }

    QByteArray lastRequest() const
    {
        const QList<QByteArray> requests = peer.receivedDatagrams();
        return requests.isEmpty() ? QByteArray() : requests.last();
    }

    GameServerPeer peer;
    CodServerPtr server = CodServer::create();
    RecordingAlerts* alerts = nullptr;
};

QString text(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

}  // namespace

TEST_F(TransportTest, statusQueryIsTheFixedDatagramAndItsAnswerComesBackWithItsHeader)
{
    const QByteArray answer = GameServerPeer::statusDatagram("\\sv_hostname\\Test\\mapname\\mp_x\n");
    peer.setStatusAnswer({answer, GameServerPeer::statusDatagram("never read")});
    EXPECT_EQ(send("ignored", 0), text(answer));
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(lastRequest(), header + "getstatus");
}

TEST_F(TransportTest, rconRequestsCarryThePasswordAndAreCutToTheBuffer)
{
    peer.setRconAnswer("say hello", {GameServerPeer::printDatagram("said\n")});
    EXPECT_EQ(send("say hello", 1), text(GameServerPeer::printDatagram("said\n")));
    EXPECT_EQ(lastRequest(), header + "rcon secret say hello");

    send("", 5);
    EXPECT_EQ(lastRequest(), header + "rcon secret status");

    server->setServerPass("");
    send("kick x", 1);
    EXPECT_EQ(lastRequest(), header + "rcon  kick x");

    const QString longCommand = QStringLiteral("say ") + QString(600, u'x');
    send(longCommand, 1);
    EXPECT_EQ(lastRequest().size(), 511);
    EXPECT_TRUE(lastRequest().startsWith(header + "rcon  say xxx"));
}

TEST_F(TransportTest, masterRequestsCarryTheProtocolOfTheirGame)
{
    Preferences::standard().setObject(QStringLiteral("6"), QStringLiteral("CoD Master Server Protocol"));
    Preferences::standard().setObject(QStringLiteral("115 (CoD2)"), QStringLiteral("CoD2 Master Server Protocol"));
    send(" ", 2);
    send(" ", 4);
    send(" ", 3);
    ASSERT_TRUE(peer.waitForReceived(3));
    EXPECT_EQ(peer.receivedDatagrams(),
              QList<QByteArray>({header + "getservers 6 empty full", header + "getservers 115 empty full",
                                 header + "getservers 0 empty full"}));
}

TEST_F(TransportTest, silenceAndShortAnswersFailAsTheirTypeSays)
{
    peer.setSilent(true);
    EXPECT_EQ(send("", 0), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_EQ(send("", 5), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_EQ(send("say hi", 1), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::RconFailed);
    for (const char* mapCommand : {"map_restart", "map mp_carentan", "cyclemap", "fdir maps/mp*.bsp"}) {
        EXPECT_EQ(send(mapCommand, 1), noAnswer) << mapCommand;
        EXPECT_EQ(server->commError(), CodServer::Answered) << mapCommand;
    }
    EXPECT_EQ(send("fdir /[a-z]*.cfg", 1), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::RconFailed);

    peer.setSilent(false);
    peer.setStatusAnswer({header + "12345"});
    EXPECT_EQ(send("", 0), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
}

TEST_F(TransportTest, setUpFailuresReturnTheirTextsWithoutSendingAnything)
{
    server->setServerIp(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(send("", 0), "Error: Unable to connect the socket");
    EXPECT_EQ(server->commError(), CodServer::Unreachable);

    server->setServerIp(QString::fromLatin1(peer.address()));
    TestPreferences::setTimeout(1000000);
    EXPECT_EQ(send("", 0), "Error: Unable to define timeout");
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    TestPreferences::setTimeout(0);
    EXPECT_EQ(send("", 0), "Error: Unable to define timeout");

    TestPreferences::setTimeout(200000);
    {
        LogCapture log;
        EXPECT_EQ(send("", 7), "Error in the refresh command code :P");
        EXPECT_EQ(server->commError(), CodServer::Answered);
        EXPECT_TRUE(log.lines().contains("Error in the refresh command code :P"));
    }
    EXPECT_TRUE(peer.received().isEmpty());
}

TEST_F(TransportTest, listingsAreJoinedHeadFirstWhicheverHalfArrivesFirst)
{
    const QByteArray head = GameServerPeer::printDatagram("---------------\nmaps/mp_a.bsp\n");
    const QByteArray tail = GameServerPeer::printDatagram("maps/mp_b.bsp\n2 files listed\n");
    const QString joined = QStringLiteral("---------------\nmaps/mp_a.bsp\nmaps/mp_b.bsp\n2 files listed\n");

    peer.setRconAnswer("fdir maps/mp*.bsp", {head, tail});
    EXPECT_EQ(send("fdir maps/mp*.bsp", 1), joined);
    EXPECT_EQ(server->commError(), CodServer::Answered);

    peer.setRconAnswer("fdir maps/mp*.bsp", {tail, head});
    EXPECT_EQ(send("fdir maps/mp*.bsp", 1), joined);

    const QByteArray whole = GameServerPeer::printDatagram("---------------\nx.cfg\n1 files listed\n");
    peer.setRconAnswer("fdir *.cfg", {whole, head});
    EXPECT_EQ(send("fdir *.cfg", 1), text(whole));

    peer.setRconAnswer("fdir *.cfg", {head});
    EXPECT_EQ(send("fdir *.cfg", 1), text(head));
    EXPECT_EQ(server->commError(), CodServer::RconFailed);
}

TEST_F(TransportTest, consoleStatusIsAssembledFromOneTwoOrThreeDatagramsInAnyOrder)
{
    const QByteArray top = "map: mp_toujane\nnum score ping name\n";
    const QByteArray middle = "  0    10   50 Alice\n";
    const QByteArray end = "  1     3   70 Bob\n\n";
    const auto print = GameServerPeer::printDatagram;
    const QString whole = text(print(top)) + text(middle) + text(end);
    struct Case {
        QList<QByteArray> datagrams;
        QString expected;
    };
    const QList<Case> cases = {
        {{print(top + middle + end)}, text(print(top + middle + end))},
        {{print(top + middle), print(end)}, text(print(top + middle)) + text(end)},
        {{print(end), print(top + middle)}, text(print(top + middle)) + text(end)},
        {{print(top), print(middle), print(end)}, whole},
        {{print(top), print(middle + end), print("never read")}, whole},
        // Neither of the first two holds the table's first line: the third goes first.
        {{print(middle), print(end), print(top)}, text(print(top)) + text(middle) + text(end)},
        {{print(end), print(middle), print(top)}, text(print(top)) + text(middle) + text(end)},
    };
    for (const Case& each : cases) {
        peer.setRconAnswer("status", each.datagrams);
        LogCapture log;
        EXPECT_EQ(send("", 5), each.expected);
        EXPECT_EQ(server->commError(), CodServer::Answered);
        EXPECT_TRUE(log.lines().contains("map: and 2 returns in the response"));
    }

    peer.setRconAnswer("status", {print(top), print(middle)});
    LogCapture log;
    EXPECT_EQ(send("", 5), text(print(top)) + text(middle));
    EXPECT_EQ(server->commError(), CodServer::RconFailed);
    EXPECT_TRUE(log.lines().contains("4 packets in the status response"));
}

TEST_F(TransportTest, anOrdinaryCommandReturnsOnlyItsFirstDatagram)
{
    peer.setRconAnswer("cvarlist", {GameServerPeer::printDatagram("part one"), GameServerPeer::printDatagram("two")});
    EXPECT_EQ(send("cvarlist", 1), text(GameServerPeer::printDatagram("part one")));
}

TEST_F(TransportTest, theSeventhBadPasswordAnswerClearsThePasswordAndWarnsOnce)
{
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        send("say hi", 1);
    EXPECT_EQ(server->serverPass(), "wrong");
    EXPECT_TRUE(alerts->shown().isEmpty());

    EXPECT_TRUE(send("say hi", 1).contains("Bad rconpassword."));
    EXPECT_EQ(server->serverPass(), "");
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "I think you do NOT have the Rcon Password");
    EXPECT_EQ(alerts->shown().first().message, "Actual password has been deleted");
    EXPECT_EQ(alerts->shown().first().defaultButton, "OK");
    EXPECT_EQ(server->commError(), CodServer::Answered);

    // The counter started again: six more failures warn nobody.
    for (int i = 0; i < 6; ++i)
        send("say hi", 1);
    EXPECT_EQ(alerts->shown().size(), 1);
}

TEST_F(TransportTest, aPasswordAlertRaisedOnAWorkerIsShownOnTheUiThreadWithoutHoldingTheWorker)
{
    server->setServerPass(QStringLiteral("wrong"));
    std::thread worker([this] {
        for (int i = 0; i < 7; ++i)
            send("say hi", 1);
    });
    worker.join();
    EXPECT_TRUE(alerts->shown().isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "I think you do NOT have the Rcon Password");
}
