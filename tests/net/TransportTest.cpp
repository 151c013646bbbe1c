#include "model/CodServer.h"
#include "peers/GameServerPeer.h"
#include "platform/Preferences.h"
#include "support/LogCapture.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <tuple>
#include <vector>

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
    ASSERT_TRUE(peer.waitForReceived(5));

    QList<QByteArray> sent = peer.receivedDatagrams();
    const QByteArray cutToTheBuffer = sent.takeAt(4);
    EXPECT_EQ(cutToTheBuffer.size(), 511);
    EXPECT_TRUE(cutToTheBuffer.startsWith(header + "rcon  say xxx"));
    EXPECT_EQ(sent, QList<QByteArray>({header + "getstatus", header + "rcon secret say hello",
                                       header + "rcon secret status", header + "rcon  kick x"}));
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
    // A DarkPlaces server's reply to a command that prints nothing is its bare tag.
    peer.setRconAnswer("kick Bob", {header + "n"});
    EXPECT_EQ(send("kick Bob", 1), QString::fromLatin1(header + "n"));
    EXPECT_EQ(server->commError(), CodServer::Answered);
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

TEST_F(TransportTest, aConsoleStatusComesBackWholeWhateverTheOrderOfItsDatagramsOrFails)
{
    TestPreferences::setTimeout(100000);
    // The exchanges' diagnostic lines are for developers: the terminal shows none.
    const LogCapture log;
    // Each listing in the pieces a server splits it into: rows cut anywhere, even
    // right before a newline, which then starts the next datagram.
    const struct {
        QList<QByteArray> pieces;
        int commError;
    } listings[] = {
        {{"map: mp_toujane\nnum score ping name\n  0    10   50 Alice\n\n"}, CodServer::Answered},
        {{"map: mp_toujane\nnum score ping name\n  0    10   50 Al", "ice\n  1     3   70 Bob\n\n"},
         CodServer::Answered},
        {{"map: mp_toujane\nnum score ping name\n  0    10   50 Alice", "\n  1     3   70 Bob\n",
          "  2     0  999 Carol\n\n"},
         CodServer::Answered},
        // Without its first line or its end, a listing is not whole, whatever the order.
        {{"map: mp_toujane\nnum score ping name\n", "  0    10   50 Alice\n"}, CodServer::RconFailed},
        {{"  0    10   50 Alice\n", "  1     3   70 Bob\n\n"}, CodServer::RconFailed},
    };
    for (const auto& listing : listings) {
        const QByteArray inServerOrder = print(listing.pieces.first()) + listing.pieces.mid(1).join();
        std::vector<int> order(static_cast<std::size_t>(listing.pieces.size()));
        std::iota(order.begin(), order.end(), 0);
        do {
            QList<QByteArray> datagrams;
            for (int piece : order)
                datagrams.append(print(listing.pieces.at(piece)));
            peer.setRconAnswer("status", datagrams);
            EXPECT_EQ(send("", 5).toLatin1().toStdString(), inServerOrder.toStdString())
                << testing::PrintToString(order);
            EXPECT_EQ(server->commError(), listing.commError);
        } while (std::next_permutation(order.begin(), order.end()));
    }
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(u'\n').toStdString();
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
    EXPECT_EQ(alerts->shown().first().title, "Wrong Rcon Password");
    EXPECT_EQ(alerts->shown().first().message, "Actual password has been deleted");
    EXPECT_TRUE(alerts->shown().first().unasked) << "an Enter meant for the window must not dismiss it";

    // The counter started again: six more failures warn nobody.
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 6; ++i)
        send("say hi", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(alerts->shown().size(), 1);
}

// A player may call himself "Bad rconpassword.", and a console reply may quote those
// words: only the server's own refusal line, in answer to a console request, counts.
TEST_F(TransportTest, onlyTheRefusalLineAnsweringAConsoleRequestCountsAgainstThePassword)
{
    TestPreferences::setTimeout(100000);
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Test\n0 50 \"Bad rconpassword.\"\n")});
    peer.setRconAnswer("say Bad rconpassword.", {print("console: Bad rconpassword.\n")});
    peer.setRconAnswer("status", {print("map: mp_crash\nnum score ping name\n  0    50   40 Bad rconpassword.\n\n")});
    peer.setRconAnswer("echo", {print("Bad rconpassword. Really?\n")});
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(send("", 0).contains("Bad rconpassword."));
        EXPECT_TRUE(send("say Bad rconpassword.", 1).contains("Bad rconpassword."));
        EXPECT_TRUE(send("", 5).contains("Bad rconpassword."));
        send("echo", 1);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(server->serverPass(), "secret");
    EXPECT_TRUE(alerts->shown().isEmpty());

    // The server's own refusals still count, to a console status request too.
    server->setServerPass(QStringLiteral("wrong"));
    for (int i = 0; i < 7; ++i)
        send("", 5);
    EXPECT_EQ(server->serverPass(), "");
}
