#include "model/CodServer.h"
#include "model/GameKind.h"
#include "net/UtProtocol.h"
#include "peers/UtQueryPeer.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace UtProtocol;

const QByteArray infoRequest = *request(Information);
const QByteArray rulesRequest = *request(Rules);
const QByteArray playersRequest = *request(Players);
const QByteArray info = UtQueryPeer::infoAnswer("UT Arena", "DM-Rankin", "xDeathMatch", 16);

void serveArena(UtQueryPeer& peer)
{
    peer.setAnswers(Information, {info});
    peer.setAnswers(Rules, {UtQueryPeer::rulesAnswer({{"AdminName", "Ann"}, {"AdminEmail", "ann@example.org"},
                                                      {"ServerVersion", "3369"}, {"GamePassword", "True"}})});
    peer.setAnswers(Players, {UtQueryPeer::playersAnswer({{"Alice", 200, -3}, {"Bob", 50, 12}})});
}

// A query port at game port + 10 with, at + 1, a port that answers nothing. The game
// port comes from the first (ephemeral) one; its + 1 may be taken, then try again.
struct TwoQueryPorts {
    std::unique_ptr<UtQueryPeer> atPlusTen;
    std::unique_ptr<UtQueryPeer> atPlusOne;

    TwoQueryPorts()
    {
        for (int attempt = 0; !atPlusOne; ++attempt) {
            atPlusTen = std::make_unique<UtQueryPeer>();
            try {
                atPlusOne = std::make_unique<UtQueryPeer>(static_cast<quint16>(atPlusTen->port() - 9));
            } catch (const std::runtime_error&) {
                if (attempt == 20)
                    throw;
            }
        }
    }
};

class UtQueryTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        TestPreferences::setTimeout(100000);
    }

    // The record as a failed status query leaves it, for the game port whose query
    // port at the given offset is the peer's.
    void queryPeerAt(const UtQueryPeer& peer, int offset)
    {
        server->setServerIp(QStringLiteral("127.0.0.1:%1").arg(peer.port() - offset));
        server->setServerName(QStringLiteral("My favourite"));
        server->setServerPing(QStringLiteral("Ping: --- ms"));
        server->setCommError(CodServer::Unreachable);
    }

    CodServerPtr server = CodServer::create();
};

}  // namespace

TEST_F(UtQueryTest, aServerAtPortPlusOneIsProbedThenAskedForInformationRulesAndPlayers)
{
    UtQueryPeer peer;
    serveArena(peer);
    queryPeerAt(peer, 1);
    server->utServerRefresh();

    EXPECT_EQ(peer.receivedDatagrams(), (QList<QByteArray>{infoRequest, infoRequest, rulesRequest, playersRequest}));
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(gameKindOf(server->serverGameName()), GameKind::UT2004);
    EXPECT_NE(server->serverPing(), "Ping: --- ms");
    EXPECT_EQ(QStringList({server->serverName(), server->serverMapName(), server->serverGametype(),
                           server->serverMaxClients(), server->serverAdmin(), server->serverEmail(),
                           server->serverShortVersion(), server->serverPassActive()}),
              QStringList({"UT Arena", "DM-Rankin", "xDeathMatch", "16", "Ann", "ann@example.org", "3369", "1"}));
    const QList<CodPlayerPtr> players = server->serverPlayers();
    ASSERT_EQ(players.size(), 2);
    EXPECT_EQ(QStringList({players[1]->playerNumber(), players[1]->playerName(), players[1]->playerPing(),
                           players[1]->playerScore(), players[1]->colouredName()}),
              QStringList({"1", "Bob", "50", "12", ""}));
}

TEST_F(UtQueryTest, aServerAnsweringOnlyAtPortPlusTenIsQueriedThereAfterTheProbeAtPlusOne)
{
    TwoQueryPorts ports;
    serveArena(*ports.atPlusTen);
    queryPeerAt(*ports.atPlusTen, 10);
    server->utServerRefresh();

    const QList<UdpPeer::Received> plusOne = ports.atPlusOne->received();
    const QList<UdpPeer::Received> plusTen = ports.atPlusTen->received();
    ASSERT_EQ(plusOne.size(), 1);
    EXPECT_EQ(plusOne.first().datagram, infoRequest);
    ASSERT_EQ(plusTen.size(), 4);
    EXPECT_LT(plusOne.first().at, plusTen.first().at);
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverPlayers().size(), 2);
}

TEST_F(UtQueryTest, probesThatGetNoRightAnswerChangeNothingAndStopTheRefresh)
{
    for (const QList<QByteArray>& answers : QList<QList<QByteArray>>{{}, {infoRequest.left(4)},
                                                                    {rulesRequest + info.mid(5)}}) {
        TwoQueryPorts ports;
        ports.atPlusOne->setAnswers(Probe, answers);
        ports.atPlusTen->setAnswers(Probe, answers);
        queryPeerAt(*ports.atPlusTen, 10);
        server->setCommError(CodServer::Answered);
        server->utServerRefresh();
        EXPECT_EQ(ports.atPlusOne->received().size(), 1);
        EXPECT_EQ(ports.atPlusTen->received().size(), 1);
        EXPECT_EQ(server->commError(), CodServer::Unreachable);
        EXPECT_EQ(server->serverGameName(), "");
        EXPECT_EQ(server->serverPing(), "Ping: --- ms");
        EXPECT_EQ(server->serverName(), "My favourite");
    }

    // Nor is an answer that comes from another port taken.
    UtQueryPeer peer;
    UtQueryPeer stranger;
    serveArena(peer);
    peer.answerThrough(&stranger);
    queryPeerAt(peer, 1);
    server->utServerRefresh();
    EXPECT_EQ(peer.receivedDatagrams(), QList<QByteArray>{infoRequest});
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_EQ(server->serverGameName(), "");
}

TEST_F(UtQueryTest, aWrongOrNamelessInformationAnswerFailsTheRefreshWhileRulesAndPlayersStillCount)
{
    QByteArray nameless = info;
    nameless[18] = 0;
    for (const QByteArray& badInformation : {QByteArray("\x80\x00\x00\x01", 4) + info.mid(4), nameless}) {
        UtQueryPeer peer;
        serveArena(peer);
        peer.setAnswers(Information, {info, badInformation});
        queryPeerAt(peer, 1);
        server->setServerPlayers({});
        server->utServerRefresh();
        EXPECT_EQ(server->commError(), CodServer::Unreachable);
        EXPECT_EQ(server->serverPing(), "---");
        EXPECT_EQ(server->serverName(), "My favourite");
        EXPECT_EQ(server->serverAdmin(), "Ann");
        EXPECT_EQ(server->serverPlayers().size(), 2);
    }
}

TEST_F(UtQueryTest, singleQueriesThatGetNoAnswerChangeNothingAndWrongOnesFail)
{
    UtQueryPeer peer;
    queryPeerAt(peer, 10);
    server->setCommError(CodServer::Answered);
    for (const int kind : {Information, Rules, Players}) {
        server->sendUtCommandToServer(kind, 10);
        EXPECT_EQ(server->commError(), CodServer::Answered);
        EXPECT_EQ(server->serverPing(), "Ping: --- ms");
    }
    EXPECT_EQ(peer.receivedDatagrams(), (QList<QByteArray>{infoRequest, rulesRequest, playersRequest}));

    for (const auto& [value, passActive] : {std::pair{"True", "1"}, {"False", "0"}, {"true", "0"}, {"", "0"}}) {
        peer.setAnswers(Rules, {UtQueryPeer::rulesAnswer({{"GamePassword", value}})});
        server->sendUtCommandToServer(Rules, 10);
        EXPECT_EQ(server->serverPassActive(), passActive) << value;
    }

    peer.setAnswers(Players, {rulesRequest});
    server->sendUtCommandToServer(Players, 10);
    EXPECT_EQ(server->commError(), CodServer::Unreachable);
    EXPECT_EQ(server->serverPing(), "---");
    EXPECT_TRUE(server->serverPlayers().isEmpty());
}
