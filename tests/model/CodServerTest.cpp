#include "model/CodServer.h"
#include "model/GameKind.h"
#include "model/ServerArchive.h"

#include <QDataStream>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

CodServerPtr serverAt(const QString& ip, const QString& name = {}, const QString& pass = {})
{
    CodServerPtr server = CodServer::create();
    server->setServerIp(ip);
    server->setServerName(name);
    server->setServerPass(pass);
    return server;
}

CodPlayerPtr playerNamed(const QString& name)
{
    return std::make_shared<const CodPlayer>(CodPlayer::Fields{.name = name});
}

}  // namespace

TEST(CodRecords, newRecordsStartWithTheirInitialValues)
{
    const CodPlayer player;
    EXPECT_EQ(player.playerNumber(), "0");
    EXPECT_EQ(player.playerPing(), "999");
    EXPECT_EQ(player.playerScore(), "0");
    EXPECT_TRUE(player.colouredName().isEmpty());

    const CodServerPtr server = CodServer::create();
    EXPECT_EQ(server->commError(), CodServer::NeverContacted);
    EXPECT_FALSE(server->serverPassOwner());
    EXPECT_TRUE(server->serverPlayers().isEmpty());
    EXPECT_TRUE(server->lastUpdate().has_value());
    EXPECT_TRUE(server->lastUpdateText().startsWith(u'('));
    EXPECT_TRUE(server->serverGameName().isEmpty());
}

TEST(CodRecords, equalityAndHashFollowTheAddressTextAlone)
{
    const CodServerPtr a = serverAt("10.0.0.1:28960", "A", "x");
    const CodServerPtr b = serverAt("10.0.0.1:28960", "B", "");
    const CodServerPtr c = serverAt("10.0.0.01:28960", "A", "x");
    EXPECT_TRUE(a->isEqual(*b));
    EXPECT_EQ(qHash(*a), qHash(*b));
    EXPECT_FALSE(a->isEqual(*c));
}

TEST(CodRecords, playerSearchIgnoresCaseAndNeverMatchesEmptyText)
{
    const CodServerPtr server = serverAt("1.2.3.4:1");
    server->setServerPlayers({playerNamed("[clan]Bob"), playerNamed("Alice")});
    EXPECT_TRUE(server->serverHasPlayer("CLAN"));
    EXPECT_TRUE(server->serverHasPlayer("lic"));
    EXPECT_FALSE(server->serverHasPlayer(""));
    EXPECT_FALSE(server->serverHasPlayer("Carol"));
}

TEST(CodRecords, gameKindIsDecidedByExactGameName)
{
    EXPECT_EQ(gameKindOf("Call of Duty"), GameKind::CoD);
    EXPECT_EQ(gameKindOf("CoD:United Offensive"), GameKind::UO);
    EXPECT_EQ(gameKindOf("Call of Duty 2"), GameKind::CoD2);
    EXPECT_EQ(gameKindOf("Call of Duty 4"), GameKind::CoD4);
    EXPECT_EQ(gameKindOf("q3ut4"), GameKind::UrbanTerror);
    EXPECT_EQ(gameKindOf("noquarter"), GameKind::ET);
    EXPECT_EQ(gameKindOf("UT2004"), GameKind::UT2004);
    EXPECT_EQ(gameKindOf("call of duty"), GameKind::Unknown);
    EXPECT_EQ(gameKindOf(""), GameKind::Unknown);
    EXPECT_EQ(gameKindOf("et"), GameKind::Unknown);
}

TEST(ServerArchiveTest, aRecordComesBackWithItsThreeStringsAndNoStatus)
{
    const CodServerPtr original = serverAt("1.2.3.4:28960", "A", "");
    original->setCommError(CodServer::Answered);
    original->setServerPassOwner(true);
    const CodServerPtr restored = ServerArchive::unarchiveServer(ServerArchive::archiveServer(*original));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->serverName(), "A");
    EXPECT_EQ(restored->serverIp(), "1.2.3.4:28960");
    EXPECT_EQ(restored->serverPass(), "");
    EXPECT_EQ(restored->commError(), CodServer::NeverContacted);
    EXPECT_FALSE(restored->lastUpdate().has_value());
    EXPECT_FALSE(restored->serverPassOwner());
    EXPECT_TRUE(restored->serverPlayers().isEmpty());
    EXPECT_TRUE(restored->mapList().isEmpty());
}

TEST(ServerArchiveTest, listsKeepTheirOrderAndDamagedDataIsRefused)
{
    const QList<CodServerPtr> servers = {serverAt("1.1.1.1:1", "one", "p"), serverAt("2.2.2.2:2", "two"),
                                         serverAt("3.3.3.3:3", "thrée", "pw")};
    const QByteArray data = ServerArchive::archiveServerList(servers);
    const auto restored = ServerArchive::unarchiveServerList(data);
    ASSERT_TRUE(restored.has_value());
    ASSERT_EQ(restored->size(), 3);
    EXPECT_EQ(restored->at(2)->serverName(), "thrée");
    EXPECT_EQ(restored->at(0)->serverPass(), "p");

    EXPECT_FALSE(ServerArchive::unarchiveServerList(data.left(data.size() - 1)).has_value());
    EXPECT_FALSE(ServerArchive::unarchiveServerList(data + "x").has_value());
    EXPECT_FALSE(ServerArchive::unarchiveServerList(QByteArray("\x7f\xff\xff\xff", 4)).has_value());
    EXPECT_FALSE(ServerArchive::unarchiveServerList("not an archive at all").has_value());
    EXPECT_TRUE(ServerArchive::unarchiveServerList(ServerArchive::archiveServerList({}))->isEmpty());
}

// Readers on other threads see whole values while a writer keeps replacing them, and
// a player list they hold stays intact after a newer one is installed.
TEST(CodRecords, concurrentReadersSeeWholeValuesAndKeepTheirPlayerLists)
{
    const CodServerPtr server = serverAt("127.0.0.1:1");
    std::atomic<bool> stop = false;
    std::atomic<int> torn = 0;

    std::thread writer([&] {
        for (int round = 0; round < 2000; ++round) {
            const QString tag = QString::number(round);
            server->setServerMapName(QStringLiteral("map_") + tag);
            QList<CodPlayerPtr> players;
            for (int i = 0; i <= round % 5; ++i)
                players.append(playerNamed(tag));
            server->setServerPlayers(players);
            server->setCommError(round % 3);
        }
        stop = true;
    });
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&] {
            while (!stop) {
                const QList<CodPlayerPtr> players = server->serverPlayers();
                const QString first = players.isEmpty() ? QString() : players.first()->playerName();
                for (const CodPlayerPtr& player : players)
                    if (player->playerName() != first)
                        ++torn;
                const QString map = server->serverMapName();
                if (!map.isEmpty() && !map.startsWith(QStringLiteral("map_")))
                    ++torn;
                server->serverHasPlayer(QStringLiteral("1"));
            }
        });
    }
    writer.join();
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(torn, 0);
}
