#include "net/UtInfoAnswer.h"
#include "net/UtPlayersAnswer.h"
#include "net/UtRulesAnswer.h"
#include "peers/UtQueryPeer.h"

#include <gtest/gtest.h>

namespace {

using Player = UtPlayersAnswer::Player;
using Rule = UtRulesAnswer::Rule;

constexpr qsizetype serverNameOffset = 18;

const QByteArray info = UtQueryPeer::infoAnswer("Arena", "DM-Rankin", "xDeathMatch", 16);
// Where each field of that answer ends: the name's, the map's and the gametype's
// length byte and text with its zero, then the player count and the maximum.
constexpr qsizetype nameEnd = serverNameOffset + 7;
constexpr qsizetype mapEnd = nameEnd + 11;
constexpr qsizetype gametypeEnd = mapEnd + 13;
constexpr qsizetype maxClientsEnd = gametypeEnd + 8;

QByteArray withByte(QByteArray answer, qsizetype at, char value)
{
    answer[at] = value;
    return answer;
}

}  // namespace

TEST(UtInfoAnswerTest, aWholeAnswerGivesNameMapGametypeAndMaximumPlayers)
{
    const std::optional<UtInfoAnswer::Fields> fields = UtInfoAnswer::parse(info);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->serverName, "Arena");
    EXPECT_EQ(fields->mapName, "DM-Rankin");
    EXPECT_EQ(fields->gametype, "xDeathMatch");
    EXPECT_EQ(fields->maxClients, "16");

    const auto negative = UtInfoAnswer::parse(UtQueryPeer::infoAnswer("A", "B", "C", -2));
    EXPECT_EQ(negative->maxClients, "-2");
}

TEST(UtInfoAnswerTest, aFieldIsTakenOnlyWhenTheAnswerGoesOnPastIt)
{
    ASSERT_EQ(info[nameEnd], char(10));
    const auto upTo = [](qsizetype size) { return *UtInfoAnswer::parse(info.left(size)); };

    EXPECT_FALSE(upTo(nameEnd).serverName);
    EXPECT_EQ(upTo(nameEnd + 1).serverName, "Arena");
    EXPECT_FALSE(upTo(nameEnd + 1).mapName);

    EXPECT_FALSE(upTo(mapEnd).mapName);
    EXPECT_EQ(upTo(mapEnd + 1).mapName, "DM-Rankin");

    EXPECT_FALSE(upTo(gametypeEnd).gametype);
    EXPECT_EQ(upTo(gametypeEnd + 1).gametype, "xDeathMatch");
    EXPECT_FALSE(upTo(gametypeEnd + 1).maxClients);

    EXPECT_FALSE(upTo(maxClientsEnd).maxClients);
    EXPECT_EQ(upTo(maxClientsEnd + 1).maxClients, "16");
}

TEST(UtInfoAnswerTest, aNamelessAnswerFailsWhileAShortOrOverlongOneOnlyStops)
{
    EXPECT_FALSE(UtInfoAnswer::parse(withByte(info, serverNameOffset, 0)));

    const std::optional<UtInfoAnswer::Fields> shortAnswer = UtInfoAnswer::parse(info.left(serverNameOffset + 1));
    ASSERT_TRUE(shortAnswer);
    EXPECT_FALSE(shortAnswer->serverName);

    for (const char length : {'\x80', '\xff'}) {
        const auto overlongName = UtInfoAnswer::parse(withByte(info, serverNameOffset, length));
        ASSERT_TRUE(overlongName);
        EXPECT_FALSE(overlongName->serverName);
    }
    const auto overlongMap = UtInfoAnswer::parse(withByte(info, nameEnd, '\x90'));
    EXPECT_EQ(overlongMap->serverName, "Arena");
    EXPECT_FALSE(overlongMap->mapName);

    const auto mapPastTheEnd = UtInfoAnswer::parse(withByte(info, nameEnd, 100));
    EXPECT_EQ(mapPastTheEnd->serverName, "Arena");
    EXPECT_FALSE(mapPastTheEnd->mapName);
}

TEST(UtRulesAnswerTest, pairsAreReadUpToTheLastOneThatLiesWhollyInTheAnswer)
{
    const QByteArray rules = UtQueryPeer::rulesAnswer({{"AdminName", "Ann"}, {"GamePassword", "True"}});
    const QList<Rule> both = {{"AdminName", "Ann"}, {"GamePassword", "True"}};
    EXPECT_EQ(UtRulesAnswer::parse(rules), both);
    EXPECT_EQ(UtRulesAnswer::parse(rules.chopped(1)), QList<Rule>{both.first()});
    EXPECT_EQ(UtRulesAnswer::parse(rules + UtQueryPeer::string("KeyWithoutValue")), both);
    EXPECT_EQ(UtRulesAnswer::parse(rules + "\x85" + "abcdef"), both);
    EXPECT_EQ(UtRulesAnswer::parse(rules.left(5)), QList<Rule>{});
    EXPECT_EQ(UtRulesAnswer::parse(rules.left(3)), QList<Rule>{});
}

TEST(UtRulesAnswerTest, stringsEndAtTheirFirstZeroAndKeepTheirOtherBytes)
{
    const QByteArray rules = UtQueryPeer::rulesAnswer(
        {{QByteArray("Admin\0Name", 10), "Ren\xe9"}, {"", ""}, {"ServerVersion", "3369"}});
    const QList<Rule> expected = {{"Admin", QStringLiteral("Ren\u00e9")}, {"", ""}, {"ServerVersion", "3369"}};
    EXPECT_EQ(UtRulesAnswer::parse(rules), expected);

    // A length byte of 0 is a string of no bytes at all.
    EXPECT_EQ(UtRulesAnswer::parse(rules.left(5) + QByteArray("\0\0", 2)), (QList<Rule>{{"", ""}}));
}

TEST(UtPlayersAnswerTest, playersCarryTheirNamesAndSignedPingsAndScores)
{
    const QByteArray players = UtQueryPeer::playersAnswer({{"Alice", 200, -3}, {"Bob", 50, 12}});
    const QList<Player> expected = {{"Alice", 200, -3}, {"Bob", 50, 12}};
    EXPECT_EQ(UtPlayersAnswer::parse(players), expected);
    // The last four bytes of a record are not read.
    EXPECT_EQ(UtPlayersAnswer::parse(players.chopped(4)), expected);
}

TEST(UtPlayersAnswerTest, theFirstRecordThatDoesNotFitEndsThePlayers)
{
    const QByteArray players = UtQueryPeer::playersAnswer({{"Alice", 200, -3}, {"Bob", 50, 12}});
    const QList<Player> first = {{"Alice", 200, -3}};
    const qsizetype secondRecord = 5 + 4 + 7 + 12;
    EXPECT_EQ(UtPlayersAnswer::parse(players.chopped(5)), first);
    EXPECT_EQ(UtPlayersAnswer::parse(players.left(secondRecord + 1)), first);
    EXPECT_EQ(UtPlayersAnswer::parse(withByte(players, secondRecord + 4, '\x80')), first);
    EXPECT_EQ(UtPlayersAnswer::parse(withByte(players, secondRecord + 4, 120)), first);
    EXPECT_EQ(UtPlayersAnswer::parse(players.left(5)), QList<Player>{});
}
