#include "cli/ZorvelCommand.h"
#include "model/CodServer.h"
#include "net/UtProtocol.h"
#include "peers/GameServerPeer.h"
#include "peers/UtQueryPeer.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

const QStringList jsonKeys = {"address", "game", "up", "error", "ping_ms", "name", "name_raw", "map",
                              "gametype", "players", "max_players", "password", "punkbuster", "version",
                              "player_list", "rules"};

const QByteArray codStatus = GameServerPeer::statusDatagram(
    "\\sv_hostname\\^1Big^7Server\\gamename\\Call of Duty 4\\mapname\\mp_crash\\g_gametype\\war"
    "\\sv_maxclients\\18\\pswrd\\1\\sv_punkbuster\\0\\shortversion\\1.7\\mod\\\n"
    "5 48 \"^2Joe\"\n-1 60 \"Ann\"\n");

// The record a favourite's refresh in the window makes of the same server.
CodServerPtr refreshedInProcess(const QByteArray& address)
{
    const CodServerPtr server = CodServer::create();
    server->setServerIp(QString::fromLatin1(address));
    server->refreshTryingUt2004();
    return server;
}

}  // namespace

TEST(QueryCommandTest, jsonHasEveryKeyInOrderWithTheValuesTheWindowShows)
{
    ZorvelCommand zorvel;
    GameServerPeer peer;
    peer.setStatusAnswer({codStatus});

    const ZorvelCommand::Result result = zorvel.run({"query", "--json", "--rules", peer.address()});

    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    ASSERT_EQ(result.jsonLines().size(), 1);
    EXPECT_EQ(ZorvelCommand::Result::keysInOrder(result.output.trimmed()), jsonKeys);
    const QJsonObject line = result.jsonLines().constFirst();
    const CodServerPtr window = refreshedInProcess(peer.address());
    EXPECT_EQ(line["address"].toString(), QString::fromLatin1(peer.address()));
    EXPECT_EQ(line["game"].toString(), "cod4");
    EXPECT_EQ(line["up"].toBool(), true);
    EXPECT_TRUE(line["error"].isNull());
    EXPECT_GE(line["ping_ms"].toInt(-1), 0);
    EXPECT_EQ(line["name"].toString(), window->serverName());
    EXPECT_EQ(line["name"].toString(), "BigServer");
    EXPECT_EQ(line["name_raw"].toString(), "^1Big^7Server");
    EXPECT_EQ(line["map"].toString(), window->serverMapName());
    EXPECT_EQ(line["gametype"].toString(), window->serverGametype());
    EXPECT_EQ(line["players"].toInt(), window->serverPlayers().size());
    EXPECT_EQ(line["max_players"].toInt(), 18);
    EXPECT_EQ(line["password"].toBool(), true);
    EXPECT_EQ(line["punkbuster"].toBool(true), false);
    EXPECT_EQ(line["version"].toString(), "1.7");
    const QJsonArray players = line["player_list"].toArray();
    ASSERT_EQ(players.size(), 2);
    EXPECT_EQ(players[0].toObject()["name"].toString(), "Joe");
    EXPECT_EQ(players[0].toObject()["name_raw"].toString(), "^2Joe");
    EXPECT_EQ(players[0].toObject()["score"].toInt(), 5);
    EXPECT_EQ(players[1].toObject()["score"].toInt(), -1);
    EXPECT_EQ(players[1].toObject()["ping"].toInt(), 60);
    const QJsonObject rules = line["rules"].toObject();
    EXPECT_EQ(rules["mapname"].toString(), "mp_crash");
    EXPECT_EQ(rules["mod"].toString(), "");
    EXPECT_EQ(rules.size(), 9);
}

// Each failure has its own error, and the status tells that not every server answered.
TEST(QueryCommandTest, silentGarbledAndUnknownServersAreReportedAndMakeTheStatusOne)
{
    ZorvelCommand zorvel;
    GameServerPeer answering;
    answering.setStatusAnswer({codStatus});
    GameServerPeer silent;
    silent.setSilent(true);
    GameServerPeer garbled;
    garbled.setStatusAnswer({"\xff\xff\xff\xffnothing of a status here"});

    const ZorvelCommand::Result result = zorvel.run(
        {"query", "--json", answering.address(), silent.address(), garbled.address(), "no-such-host.invalid:28960"});

    EXPECT_EQ(result.status, 1);
    const QList<QJsonObject> lines = result.jsonLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0]["up"].toBool());
    const QStringList errors = {lines[1]["error"].toString(), lines[2]["error"].toString(),
                                lines[3]["error"].toString()};
    EXPECT_EQ(errors, QStringList({"no answer", "bad answer", "host not found"}));
    for (const QJsonObject& down : lines.mid(1)) {
        EXPECT_FALSE(down["up"].toBool(true));
        EXPECT_TRUE(down["map"].isNull());
        EXPECT_TRUE(down["players"].isNull());
        EXPECT_TRUE(down["player_list"].isNull());
    }
    EXPECT_EQ(lines[3]["address"].toString(), "no-such-host.invalid:28960");
    for (const QJsonObject& line : lines)
        EXPECT_EQ(line.keys().size(), jsonKeys.size() - 1) << "every key but the rules";
}

// As a favourite's refresh does, a server silent to the status query is asked as a
// UT2004 server at its port + 1; the table shows it with its game.
TEST(QueryCommandTest, aServerSilentToTheStatusQueryIsAskedAsAUt2004ServerAndShownInTheTable)
{
    ZorvelCommand zorvel;
    UtQueryPeer ut;
    ut.setAnswers(UtProtocol::Information, {UtQueryPeer::infoAnswer("UT Arena", "DM-Rankin", "xDeathMatch", 16)});
    ut.setAnswers(UtProtocol::Rules, {UtQueryPeer::rulesAnswer({{"ServerVersion", "3369"}})});
    ut.setAnswers(UtProtocol::Players, {UtQueryPeer::playersAnswer({{"Alice", 200, -3}})});
    const QString gamePort = QStringLiteral("127.0.0.1:%1").arg(ut.port() - 1);

    const ZorvelCommand::Result result = zorvel.run({"query", gamePort});

    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    const QList<QByteArray> rows = result.output.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("ADDRESS")) << rows[0].toStdString();
    const QList<QByteArray> cells = rows[1].simplified().split(' ');
    EXPECT_EQ(cells.mid(0, 7), QList<QByteArray>({gamePort.toLatin1(), "UT", "Arena", "ut2004", "DM-Rankin",
                                                  "xDeathMatch", "1/16"}));
}

// Bytes above 127 are read as the status parser reads them (one character each), and
// control characters are escaped: the output is valid UTF-8 and valid JSON. The
// table shows control characters as "?", so that no server drives the terminal.
TEST(QueryCommandTest, anyBytesOfAServerComeOutAsValidJsonAndAHarmlessTable)
{
    ZorvelCommand zorvel;
    GameServerPeer peer;
    peer.setStatusAnswer({GameServerPeer::statusDatagram(
        "\\sv_hostname\\Caf\xe9 \"q\" \x1b[31mred\x07\\gamename\\Call of Duty\\mapname\\m\xff\\sv_maxclients\\8\n")});

    const ZorvelCommand::Result json = zorvel.run({"query", "--json", peer.address()});
    const ZorvelCommand::Result table = zorvel.run({"query", peer.address()});

    EXPECT_TRUE(QUtf8StringView(json.output).isValidUtf8());
    ASSERT_EQ(json.jsonLines().size(), 1);
    EXPECT_EQ(json.jsonLines()[0]["name"].toString(), QString::fromLatin1("Caf\xe9 \"q\" \x1b[31mred\x07"));
    EXPECT_EQ(json.jsonLines()[0]["map"].toString(), QString::fromLatin1("m\xff"));
    EXPECT_FALSE(table.output.contains('\x1b'));
    EXPECT_TRUE(table.output.contains(QString::fromLatin1("Caf\xe9 \"q\" ?[31mred?").toUtf8()))
        << table.output.toStdString();
}
