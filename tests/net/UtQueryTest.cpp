#include "model/CodServer.h"
#include "model/GameKind.h"
#include "net/UtInfoAnswer.h"
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

// A record at the game port as a failed status query leaves it.
CodServerPtr unansweredServerAt(int gamePort)
{
    const CodServerPtr server = CodServer::create();
    server->setServerIp(QStringLiteral("127.0.0.1:%1").arg(gamePort));
    server->setServerPing(QStringLiteral("Ping: --- ms"));
    server->setCommError(CodServer::Unreachable);
    return server;
}

QByteArray withByte(QByteArray answer, qsizetype at, char value)
{
    answer[at] = value;
    return answer;
}

// Name, map, gametype and maximum, "-" for each one not taken; "fails" when the parse does.
QStringList fieldsOf(const QByteArray& answer)
{
    const std::optional<UtInfoAnswer::Fields> fields = UtInfoAnswer::parse(answer);
    if (!fields)
        return {"fails"};
    QStringList texts;
    for (const std::optional<QString>& field : {fields->serverName, fields->mapName, fields->gametype,
                                                fields->maxClients})
        texts.append(field.value_or(QStringLiteral("-")));
    return texts;
}

}  // namespace

TEST(UtQueryTest, aServerAtPortPlusOneIsProbedThenAskedForInformationRulesAndPlayers)
{
    TestPreferences::installFresh();
    TestPreferences::setTimeout(100000);
    UtQueryPeer peer;
    serveArena(peer);
    const CodServerPtr server = unansweredServerAt(peer.port() - 1);
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

TEST(UtQueryTest, aServerSilentAtPortPlusOneIsQueriedAtPortPlusTen)
{
    TestPreferences::installFresh();
    TestPreferences::setTimeout(100000);
    const struct {
        bool plusOneAnswers;
        bool plusTenAnswers;
        qsizetype queriesAtPlusOne;
        qsizetype queriesAtPlusTen;
        int commError;
    } cases[] = {
        {true, true, 4, 0, CodServer::Answered},
        {false, true, 1, 4, CodServer::Answered},
        {false, false, 1, 1, CodServer::Unreachable},
    };
    for (const auto& each : cases) {
        // Query ports at + 1 and + 10 of one game port; the first is ephemeral, so the
        // second may be taken: then another pair.
        std::unique_ptr<UtQueryPeer> plusOne;
        std::unique_ptr<UtQueryPeer> plusTen;
        while (!plusTen) {
            plusOne = std::make_unique<UtQueryPeer>();
            try {
                plusTen = std::make_unique<UtQueryPeer>(static_cast<quint16>(plusOne->port() + 9));
            } catch (const std::runtime_error&) {
            }
        }
        if (each.plusOneAnswers)
            serveArena(*plusOne);
        if (each.plusTenAnswers)
            serveArena(*plusTen);
        const CodServerPtr server = unansweredServerAt(plusOne->port() - 1);
        server->utServerRefresh();
        EXPECT_EQ(plusOne->received().size(), each.queriesAtPlusOne) << each.plusOneAnswers << each.plusTenAnswers;
        EXPECT_EQ(plusTen->received().size(), each.queriesAtPlusTen) << each.plusOneAnswers << each.plusTenAnswers;
        EXPECT_EQ(server->commError(), each.commError);
        EXPECT_EQ(server->serverPlayers().size(), each.commError == CodServer::Answered ? 2 : 0);
    }
}

TEST(UtInfoAnswerTest, aFieldIsTakenOnlyWhenTheAnswerGoesOnPastItAndANamelessAnswerFails)
{
    // Where each field ends: the name's, the map's and the gametype's length byte and
    // text with its zero, then the player count and the maximum.
    constexpr qsizetype nameAt = 18;
    constexpr qsizetype nameEnd = nameAt + 10;
    constexpr qsizetype mapEnd = nameEnd + 11;
    constexpr qsizetype gametypeEnd = mapEnd + 13;
    constexpr qsizetype maxClientsEnd = gametypeEnd + 8;
    const QList<std::pair<QByteArray, QStringList>> cases = {
        {info, {"UT Arena", "DM-Rankin", "xDeathMatch", "16"}},
        {info.left(nameEnd), {"-", "-", "-", "-"}},
        {info.left(nameEnd + 1), {"UT Arena", "-", "-", "-"}},
        {info.left(mapEnd), {"UT Arena", "-", "-", "-"}},
        {info.left(maxClientsEnd), {"UT Arena", "DM-Rankin", "xDeathMatch", "-"}},
        {info.left(maxClientsEnd + 1), {"UT Arena", "DM-Rankin", "xDeathMatch", "16"}},
        {withByte(info, nameAt, 0), {"fails"}},
        {withByte(info, nameAt, '\x80'), {"-", "-", "-", "-"}},
    };
    for (const auto& [answer, fields] : cases)
        EXPECT_EQ(fieldsOf(answer), fields) << answer.toHex().constData();
}
