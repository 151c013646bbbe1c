#include "app/Preferences.h"
#include "model/CodServer.h"
#include "peers/GameServerPeer.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

namespace {

const QString noAnswer = QStringLiteral("Error: Unable to receive server response");
const QByteArray header("\xff\xff\xff\xff", 4);
constexpr auto print = &GameServerPeer::printDatagram;

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

    GameServerPeer peer;
    CodServerPtr server = CodServer::create();
    RecordingAlerts* alerts = nullptr;
};

}  // namespace

TEST_F(TransportTest, eachTypeSendsItsExactDatagramAndReturnsTheAnswerWithItsHeader)
{
    TestPreferences::setTimeout(100000);
    Preferences::standard().setObject(QStringLiteral("6"), QStringLiteral("CoD Master Server Protocol"));
    Preferences::standard().setObject(QStringLiteral("115 (CoD2)"), QStringLiteral("CoD2 Master Server Protocol"));
    const QByteArray status = GameServerPeer::statusDatagram("\\sv_hostname\\Test\n");
    peer.setStatusAnswer({status, GameServerPeer::statusDatagram("never read")});
    peer.setRconAnswer("say hello", {print("said\n")});
    EXPECT_EQ(send("ignored", 0), QString::fromLatin1(status));
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(send("say hello", 1), QString::fromLatin1(print("said\n")));
    send("", 5);
    server->setServerPass("");
    send("kick x", 1);
    send(QStringLiteral("say ") + QString(600, u'x'), 1);
    for (const int masterList : {2, 4, 3})
        send(" ", masterList);
    ASSERT_TRUE(peer.waitForReceived(8));

    QList<QByteArray> sent = peer.receivedDatagrams();
    const QByteArray cutToTheBuffer = sent.takeAt(4);
    EXPECT_EQ(cutToTheBuffer.size(), 511);
    EXPECT_TRUE(cutToTheBuffer.startsWith(header + "rcon  say xxx"));
    EXPECT_EQ(sent, QList<QByteArray>({header + "getstatus", header + "rcon secret say hello",
                                       header + "rcon secret status", header + "rcon  kick x",
                                       header + "getservers 6 empty full", header + "getservers 115 empty full",
                                       header + "getservers 0 empty full"}));
}

TEST_F(TransportTest, silenceAndShortAnswersFailAsTheCommandSays)
{
    // Silence fails an rcon command unless it holds "map", which may restart the server.
    const std::tuple<QString, int, int> silent[] = {
        {"", 0, CodServer::Unreachable},          {"", 5, CodServer::Unreachable},
        {"say hi", 1, CodServer::RconFailed},     {"map_restart", 1, CodServer::Answered},
        {"fdir maps/mp*.bsp", 1, CodServer::Answered}};
    peer.setSilent(true);
    for (const auto& [command, type, commError] : silent) {
        EXPECT_EQ(send(command, type), noAnswer) << command.toStdString();
        EXPECT_EQ(server->commError(), commError) << command.toStdString();
    }
    peer.setSilent(false);
    peer.setStatusAnswer({header + "12345"});
    EXPECT_EQ(send("", 0), noAnswer);
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
}

TEST_F(TransportTest, listingsAreJoinedHeadFirstWhileOtherCommandsReturnOnlyTheirFirstDatagram)
{
    const QByteArray head = print("---------------\nmaps/mp_a.bsp\n");
    const QByteArray tail = print("maps/mp_b.bsp\n2 files listed\n");
    const QString joined = QStringLiteral("---------------\nmaps/mp_a.bsp\nmaps/mp_b.bsp\n2 files listed\n");
    const QByteArray whole = print("---------------\nx.cfg\n1 files listed\n");
    const struct {
        QByteArray command;
        QList<QByteArray> datagrams;
        QString answer;
        int commError;
    } cases[] = {
        {"fdir maps/mp*.bsp", {head, tail}, joined, CodServer::Answered},
        {"fdir maps/mp*.bsp", {tail, head}, joined, CodServer::Answered},
        {"fdir *.cfg", {whole, head}, QString::fromLatin1(whole), CodServer::Answered},
        {"fdir *.cfg", {head}, QString::fromLatin1(head), CodServer::RconFailed},
        {"cvarlist", {print("part one"), print("two")}, QString::fromLatin1(print("part one")), CodServer::Answered},
    };
    for (const auto& each : cases) {
        peer.setRconAnswer(each.command, each.datagrams);
        EXPECT_EQ(send(QString::fromLatin1(each.command), 1), each.answer) << each.command.constData();
        EXPECT_EQ(server->commError(), each.commError) << each.command.constData();
    }
}

TEST_F(TransportTest, consoleStatusIsAssembledFromOneTwoOrThreeDatagramsInAnyOrder)
{
    const QByteArray top = "map: mp_toujane\nnum score ping name\n";
    const QByteArray middle = "  0    10   50 Alice\n";
    const QByteArray end = "  1     3   70 Bob\n\n";
    const QString headFirst = QString::fromLatin1(print(top) + middle + end);
    const struct {
        QList<QByteArray> datagrams;
        QString expected;
        int commError = CodServer::Answered;
    } cases[] = {
        {{print(top + middle + end)}, headFirst},
        {{print(end), print(top + middle)}, headFirst},
        // Neither of the first two holds the table's first line: the third goes first.
        {{print(end), print(middle), print(top)}, QString::fromLatin1(print(top) + middle + end)},
        {{print(top), print(middle)}, QString::fromLatin1(print(top) + middle), CodServer::RconFailed},
    };
    for (const auto& each : cases) {
        peer.setRconAnswer("status", each.datagrams);
        EXPECT_EQ(send("", 5), each.expected);
        EXPECT_EQ(server->commError(), each.commError);
    }
}

TEST_F(TransportTest, theSeventhBadPasswordAnswerClearsThePasswordAndWarnsOnceOnTheUiThread)
{
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        send("say hi", 1);
    EXPECT_EQ(server->serverPass(), "wrong");

    std::thread worker([this] { EXPECT_TRUE(send("say hi", 1).contains("Bad rconpassword.")); });
    worker.join();
    EXPECT_EQ(server->serverPass(), "");
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_TRUE(alerts->shown().isEmpty()) << "the worker does not wait for the alert";
    QCoreApplication::processEvents();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "I think you do NOT have the Rcon Password");

    // The counter started again: six more failures warn nobody.
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        send("say hi", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(alerts->shown().size(), 1);
}
