#include "model/CodServer.h"
#include "model/ServerArchive.h"

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

TEST(CodRecords, equalityFollowsTheAddressTextAndPlayerSearchIgnoresCase)
{
    const CodServerPtr a = serverAt("10.0.0.1:28960", "A", "x");
    EXPECT_TRUE(a->isEqual(*serverAt("10.0.0.1:28960", "B", "")));
    EXPECT_EQ(qHash(*a), qHash(*serverAt("10.0.0.1:28960", "B", "")));
    EXPECT_FALSE(a->isEqual(*serverAt("10.0.0.01:28960", "A", "x")));

    a->setServerPlayers({playerNamed("[clan]Bob"), playerNamed("Alice")});
    EXPECT_TRUE(a->serverHasPlayer("CLAN"));
    EXPECT_TRUE(a->serverHasPlayer("lic"));
    EXPECT_FALSE(a->serverHasPlayer(""));
    EXPECT_FALSE(a->serverHasPlayer("Carol"));
}

TEST(ServerArchiveTest, recordsComeBackWithTheirThreeStringsInOrderAndDamagedDataIsRefused)
{
    const CodServerPtr answered = serverAt("1.1.1.1:1", "one", "p");
    answered->setCommError(CodServer::Answered);
    answered->setServerPassOwner(true);
    const QByteArray data = ServerArchive::archiveServerList({answered, serverAt("2.2.2.2:2", "thrée", "pw")});
    const auto restored = ServerArchive::unarchiveServerList(data);
    ASSERT_TRUE(restored.has_value());
    ASSERT_EQ(restored->size(), 2);
    EXPECT_EQ(QStringList({restored->at(0)->serverIp(), restored->at(0)->serverName(), restored->at(0)->serverPass()}),
              QStringList({"1.1.1.1:1", "one", "p"}));
    EXPECT_EQ(restored->at(1)->serverName(), "thrée");
    EXPECT_EQ(restored->at(0)->commError(), CodServer::NeverContacted);
    EXPECT_FALSE(restored->at(0)->lastUpdate().has_value());
    EXPECT_FALSE(restored->at(0)->serverPassOwner());

    for (const QByteArray& damaged : {data.chopped(1), data + "x", QByteArray("\x7f\xff\xff\xff", 4)})
        EXPECT_FALSE(ServerArchive::unarchiveServerList(damaged).has_value()) << damaged.toHex().constData();
    EXPECT_TRUE(ServerArchive::unarchiveServerList(ServerArchive::archiveServerList({}))->isEmpty());
}

TEST(ServerArchiveTest, aDamagedListGivesBackEveryRecordBeforeTheDamageAndCountsTheOthers)
{
    const QList<CodServerPtr> three = {serverAt("1.1.1.1:1", "one", "p"), serverAt("2.2.2.2:2", "two"),
                                       serverAt("3.3.3.3:3", "three")};
    const QByteArray data = ServerArchive::archiveServerList(three);
    const qsizetype firstEnds = ServerArchive::archiveServerList(three.mid(0, 1)).size();
    QByteArray countDamaged = data;
    countDamaged[3] = '\x09';
    struct Case {
        QByteArray data;
        QStringList read;
        std::optional<quint32> unreadable;
    };
    const QList<Case> cases = {
        {data, {"one", "two", "three"}, std::nullopt},
        {data.left(2), {}, std::nullopt},
        {data.left(firstEnds - 1), {}, 3},
        {data.left(firstEnds), {"one"}, 2},
        {data.chopped(1), {"one", "two"}, 1},
        {data + "junk", {"one", "two", "three"}, std::nullopt},
        {countDamaged, {"one", "two", "three"}, 6},
    };
    for (const Case& test : cases) {
        const ServerArchive::ReadableList readable = ServerArchive::readableServerList(test.data);
        QStringList names;
        for (const CodServerPtr& server : readable.servers)
            names.append(server->serverName());
        EXPECT_EQ(names, test.read) << test.data.size();
        EXPECT_EQ(readable.unreadable, test.unreadable) << test.data.size();
        EXPECT_EQ(readable.whole, test.data == data) << test.data.size();
    }
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

TEST(ColourCodeTest, removesCaretAndDigitPairsInOnePass)
{
    for (const auto& [name, cleared] : {std::pair{"^1Red^7Name", "RedName"}, {"^^11", "^1"}, {"a^b", "a^b"},
                                        {"end^", "end^"}, {"^0^9^x^", "^x^"}, {"^1^2^3", ""}, {"^^^123", "^^23"}})
        EXPECT_EQ(CodServer::clearColoredName(name).toStdString(), cleared) << name;
}

TEST(ColourCodeTest, theDarkPlacesDialectAlsoRemovesCaretXAndThreeHexDigits)
{
    for (const auto& [name, cleared] :
         {std::pair{"^x0F0Green^7Name", "GreenName"}, {"^xABCD", "D"}, {"^xAB", "^xAB"}, {"^xabg1", "^xabg1"},
          {"^^x123", "^"}, {"^x^1123", "^x123"}, {"tail^x", "tail^x"}})
        EXPECT_EQ(CodServer::clearColoredName(name, GameDescription::ColourDialect::DarkPlaces).toStdString(), cleared) << name;
}
