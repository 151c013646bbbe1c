#include "model/CodServer.h"
#include "model/RuleKeys.h"
#include "net/StatusAnswer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// A status answer as a server sends it: header line, "\key\value..." and player lines.
StatusAnswer parse(const QString& information, const QString& playerLines = {})
{
    return StatusAnswer::parse(QStringLiteral("\xff\xff\xff\xffstatusResponse\n") + information + u'\n' + playerLines);
}

}  // namespace

TEST(StatusAnswerTest, eachFieldTakesTheValueOfItsStrongestKey)
{
    const struct {
        const char* information;
        StatusAnswer::Field field;
        std::optional<QString> value;
    } cases[] = {
        {"\\sv_hostname\\^1Big^7Server\\mapname\\mp_test", StatusAnswer::HostName, "BigServer"},
        {"\\sv_hostname\\Big\\mapname\\mp_test", StatusAnswer::Admin, std::nullopt},
        // Later keys of the table overwrite earlier ones, whatever their place in the answer.
        {"\\_Admin\\second\\Admin\\first", StatusAnswer::Admin, "second"},
        {"\\sv_maxClients\\24\\sv_maxclients\\16", StatusAnswer::MaxClients, "24"},
        {"\\.Website\\a\\_URL\\b\\Website\\c", StatusAnswer::WebSite, "b"},
        // The first piece equal to a key wins, even when it is a value; keys match with case.
        {"\\mapname\\mp_one\\mapname\\mp_two", StatusAnswer::MapName, "mp_one"},
        {"\\Location\\mapname\\mapname\\mp_real", StatusAnswer::MapName, "mapname"},
        {"\\MAPNAME\\mp_x", StatusAnswer::MapName, std::nullopt},
        // A server without short version gives its whole version; a short one wins.
        {"\\version\\ioq3 1.36_GIT linux-x86_64\\mapname\\oa_dm1", StatusAnswer::ShortVersion,
         "ioq3 1.36_GIT linux-x86_64"},
        {"\\shortversion\\1.3\\version\\CoD2 MP 1.3 build pc_1.3_1_1", StatusAnswer::ShortVersion, "1.3"},
        // A key without value is ignored.
        {"\\a\\b\\mapname", StatusAnswer::MapName, std::nullopt},
    };
    for (const auto& each : cases)
        EXPECT_EQ(parse(each.information).value(each.field), each.value) << each.information;
}

TEST(StatusAnswerTest, playerLinesAreCountedEvenWhenDropped)
{
    const QList<CodPlayerPtr> players = parse(QStringLiteral("\\mapname\\mp_x"),
                                              QStringLiteral("10 50 \"^2Alice\"\n"
                                                             "no quote here\n"
                                                             "7\"Lonely\"\n"
                                                             "-3 999 \"^1B^7ob \"the\" tank\"\n"
                                                             "\n"))
                                            .players();
    const auto row = [](const CodPlayerPtr& player) {
        return QStringList{player->playerNumber(), player->playerScore(), player->playerPing(),
                           player->colouredName(), player->playerName()};
    };
    ASSERT_EQ(players.size(), 2);
    EXPECT_EQ(row(players.at(0)), QStringList({"0", "10", "50", "^2Alice", "Alice"}));
    // 7"Lonely" holds one word before its quote: dropped, yet numbered 1.
    EXPECT_EQ(row(players.at(1)), QStringList({"2", "-3", "999", "^1B^7ob ", "Bob "}));
}

TEST(StatusAnswerTest, onlyAnAnswerThatFillsTheReceiveBufferHasItsLastLineCut)
{
    // Two player lines after a host name that brings the answer to the given length.
    const auto answerOf = [](qsizetype length, const QString& lastLine) {
        const QString start = QStringLiteral("\xff\xff\xff\xffstatusResponse\n\\sv_hostname\\");
        const QString players = QStringLiteral("\n5 48 \"Joe\"\n") + lastLine;
        return start + QString(length - start.size() - players.size(), u'x') + players;
    };
    const struct {
        qsizetype length;
        QString lastLine;
        QStringList players;
    } cases[] = {
        {2048, "7 60 \"An", {"Joe"}},
        {2048, "7 60 \"Ann\"\n", {"Joe", "Ann"}},
        {2047, "7 60 \"An", {"Joe", "An"}},
    };
    for (const auto& each : cases) {
        QStringList players;
        for (const CodPlayerPtr& player : StatusAnswer::parse(answerOf(each.length, each.lastLine)).players())
            players.append(player->playerName());
        EXPECT_EQ(players.join(u',').toStdString(), each.players.join(u',').toStdString()) << each.length;
    }
}

// The rules are every key and value in answer order, the last value without the
// player lines; a key that ends the answer has no value and is no rule.
TEST(StatusAnswerTest, theRulesAreEveryKeyAndValueInAnswerOrder)
{
    using Rules = QList<std::pair<QString, QString>>;
    EXPECT_EQ(parse("\\sv_hostname\\^1Big\\mapname\\mp_test\\empty\\", "5 48 \"Joe\"\n").rules(),
              Rules({{"sv_hostname", "^1Big"}, {"mapname", "mp_test"}, {"empty", ""}}));
    EXPECT_EQ(parse("\\z\\1\\a\\2\\z\\3").rules(), Rules({{"z", "1"}, {"a", "2"}, {"z", "3"}}));
    EXPECT_EQ(StatusAnswer::parse("\xff\xff\xff\xffstatusResponse\n\\lonely").rules(), Rules());
    EXPECT_EQ(StatusAnswer::parse("no status at all").rules(), Rules());
}

// A scan keeps the rules of every server: their list has no spare room, and the keys
// and small numbers that every server sends are one text each, up to a limit of keys
// that servers making keys up cannot pass.
TEST(StatusAnswerTest, theRulesOfManyServersShareTheirKeysAndSmallNumbers)
{
    const StatusAnswer first = parse("\\sv_maxclients\\24\\mapname\\mp_crash\\protocol\\6");
    const StatusAnswer second = parse("\\sv_maxclients\\24\\mapname\\mp_crash\\protocol\\6");
    EXPECT_EQ(first.rules().capacity(), first.rules().size());
    for (qsizetype rule = 0; rule < first.rules().size(); ++rule)
        EXPECT_EQ(first.rules().at(rule).first.constData(), second.rules().at(rule).first.constData());
    EXPECT_EQ(first.rules().at(0).second.constData(), second.rules().at(0).second.constData());
    EXPECT_NE(first.rules().at(1).second.constData(), second.rules().at(1).second.constData()) << "maps are many";

    std::thread([] {
        for (int made = 0; made < RuleKeys::sharedLimit; ++made)
            RuleKeys::shared(QStringLiteral("made_up_%1").arg(made));
        const auto keyOf = [](const char* name, int number) { return QStringLiteral("%1_%2").arg(name).arg(number); };
        EXPECT_NE(RuleKeys::shared(keyOf("past", 1)).constData(), RuleKeys::shared(keyOf("past", 1)).constData());
        EXPECT_EQ(RuleKeys::shared(keyOf("made_up", 7)).constData(), RuleKeys::shared(keyOf("made_up", 7)).constData());
    }).join();
}

// DarkPlaces servers (Nexuiz, Xonotic) name themselves by "hostname", colour names with
// "^x" and three hexadecimal digits too, and give the team's number with the player.
TEST(StatusAnswerTest, darkPlacesAnswersAreReadInTheirOwnDialect)
{
    const StatusAnswer nexuiz = parse(QStringLiteral("\\gamename\\Nexuiz\\hostname\\^1Nex^xF0aTest^x12\\mapname\\ruiner"),
                                      QStringLiteral("5 20 1 \"^x0f0Red^7Bob\"\n"
                                                     "-666 1 \"^xzzzSpec\"\n"
                                                     "2 30 \"After\" 2\n"));
    EXPECT_EQ(nexuiz.value(StatusAnswer::HostName), "NexTest^x12");
    ASSERT_EQ(nexuiz.players().size(), 3);
    EXPECT_EQ(nexuiz.players().at(0)->playerName(), "RedBob");
    EXPECT_EQ(nexuiz.players().at(0)->playerScore(), "5");
    EXPECT_EQ(nexuiz.players().at(0)->playerPing(), "20");
    EXPECT_EQ(nexuiz.players().at(0)->playerTeam(), "1");
    EXPECT_EQ(nexuiz.players().at(1)->playerName(), "^xzzzSpec");
    EXPECT_EQ(nexuiz.players().at(1)->playerTeam(), "");
    EXPECT_EQ(nexuiz.players().at(2)->playerTeam(), "2");

    // Other games keep "^x" and what follows: only a caret and a digit is a code there.
    const StatusAnswer quake = parse(QStringLiteral("\\gamename\\baseoa\\hostname\\^1A^xf00B\\sv_hostname\\^2Own"),
                                     QStringLiteral("3 40 1 \"^xf00Sarge\"\n"));
    EXPECT_EQ(quake.value(StatusAnswer::HostName), "Own");
    EXPECT_EQ(quake.players().at(0)->playerName(), "^xf00Sarge");
    EXPECT_EQ(quake.players().at(0)->playerTeam(), "") << "no team in a Quake 3 player line";
    EXPECT_EQ(parse(QStringLiteral("\\hostname\\^3Plain")).value(StatusAnswer::HostName), "Plain");
}
