#include "net/UtInfoAnswer.h"
#include "net/UtPlayersAnswer.h"
#include "net/UtRulesAnswer.h"
#include "peers/UtQueryPeer.h"

#include <gtest/gtest.h>

namespace {

using Player = UtPlayersAnswer::Player;
using Rule = UtRulesAnswer::Rule;

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

TEST(UtInfoAnswerTest, aFieldIsTakenOnlyWhenTheAnswerGoesOnPastItAndANamelessAnswerFails)
{
    const QByteArray info = UtQueryPeer::infoAnswer("Arena", "DM-Rankin", "xDeathMatch", 16);
    // Where each field ends: the name's, the map's and the gametype's length byte and
    // text with its zero, then the player count and the maximum.
    constexpr qsizetype nameAt = 18;
    constexpr qsizetype nameEnd = nameAt + 7;
    constexpr qsizetype mapEnd = nameEnd + 11;
    constexpr qsizetype gametypeEnd = mapEnd + 13;
    constexpr qsizetype maxClientsEnd = gametypeEnd + 8;
    const QList<std::pair<QByteArray, QStringList>> cases = {
        {info, {"Arena", "DM-Rankin", "xDeathMatch", "16"}},
        {UtQueryPeer::infoAnswer("A", "B", "C", -2), {"A", "B", "C", "-2"}},
        {info.left(nameEnd), {"-", "-", "-", "-"}},
        {info.left(nameEnd + 1), {"Arena", "-", "-", "-"}},
        {info.left(mapEnd), {"Arena", "-", "-", "-"}},
        {info.left(mapEnd + 1), {"Arena", "DM-Rankin", "-", "-"}},
        {info.left(gametypeEnd + 1), {"Arena", "DM-Rankin", "xDeathMatch", "-"}},
        {info.left(maxClientsEnd), {"Arena", "DM-Rankin", "xDeathMatch", "-"}},
        {info.left(maxClientsEnd + 1), {"Arena", "DM-Rankin", "xDeathMatch", "16"}},
        {withByte(info, nameAt, 0), {"fails"}},
        {withByte(info, nameAt, '\x80'), {"-", "-", "-", "-"}},
        {withByte(info, nameEnd, '\x90'), {"Arena", "-", "-", "-"}},
        {withByte(info, nameEnd, 100), {"Arena", "-", "-", "-"}},
    };
    for (const auto& [answer, fields] : cases)
        EXPECT_EQ(fieldsOf(answer), fields) << answer.toHex().constData();
}

TEST(UtRulesAnswerTest, pairsAreReadUpToTheLastOneThatLiesWhollyInTheAnswer)
{
    const QByteArray rules = UtQueryPeer::rulesAnswer(
        {{QByteArray("Admin\0Name", 10), "Ren\xe9"}, {"", ""}, {"ServerVersion", "3369"}});
    const QList<Rule> all = {{"Admin", QStringLiteral("Ren\u00e9")}, {"", ""}, {"ServerVersion", "3369"}};
    EXPECT_EQ(UtRulesAnswer::parse(rules), all);
    EXPECT_EQ(UtRulesAnswer::parse(rules.chopped(1)), all.first(2));
    EXPECT_EQ(UtRulesAnswer::parse(rules + UtQueryPeer::string("KeyWithoutValue")), all);
    EXPECT_EQ(UtRulesAnswer::parse(rules + "\x85" + "abcdef"), all);
    EXPECT_EQ(UtRulesAnswer::parse(rules.left(5)), QList<Rule>{});
    // A length byte of 0 is a string of no bytes at all.
    EXPECT_EQ(UtRulesAnswer::parse(rules.left(5) + QByteArray("\0\0", 2)), (QList<Rule>{{"", ""}}));
}

TEST(UtPlayersAnswerTest, theFirstRecordThatDoesNotFitEndsThePlayers)
{
    const QByteArray players = UtQueryPeer::playersAnswer({{"Alice", 200, -3}, {"Bob", 50, 12}});
    const QList<Player> both = {{"Alice", 200, -3}, {"Bob", 50, 12}};
    const qsizetype secondRecord = 5 + 4 + 7 + 12;
    EXPECT_EQ(UtPlayersAnswer::parse(players), both);
    // The last four bytes of a record are not read.
    EXPECT_EQ(UtPlayersAnswer::parse(players.chopped(4)), both);
    for (const QByteArray& cut : {players.chopped(5), players.left(secondRecord + 1),
                                  withByte(players, secondRecord + 4, '\x80'), withByte(players, secondRecord + 4, 120)})
        EXPECT_EQ(UtPlayersAnswer::parse(cut), both.first(1)) << cut.toHex().constData();
    EXPECT_EQ(UtPlayersAnswer::parse(players.left(5)), QList<Player>{});
}
