#include "model/CodServer.h"
#include "net/StatusAnswer.h"

#include <gtest/gtest.h>

namespace {

// A status answer as a server sends it: header line, "\key\value..." and player lines.
QString answerWith(const QString& information, const QString& playerLines = {})
{
    return QStringLiteral("\xff\xff\xff\xffstatusResponse\n") + information + u'\n' + playerLines;
}

std::optional<QString> valueOf(const QString& information, StatusAnswer::Field field)
{
    return StatusAnswer::parse(answerWith(information)).value(field);
}

}  // namespace

TEST(StatusAnswerTest, readsTheKeysAndPlayersOfATypicalAnswer)
{
    const StatusAnswer parsed = StatusAnswer::parse(
        answerWith(QStringLiteral("\\sv_hostname\\^1Big^7Server\\mapname\\mp_test\\g_gametype\\sd"),
                   QStringLiteral("5 48 \"^2Joe\"\n")));
    EXPECT_EQ(parsed.value(StatusAnswer::HostName), "BigServer");
    EXPECT_EQ(parsed.value(StatusAnswer::MapName), "mp_test");
    EXPECT_EQ(parsed.value(StatusAnswer::Gametype), "sd");
    EXPECT_EQ(parsed.value(StatusAnswer::Admin), std::nullopt);
    ASSERT_EQ(parsed.players().size(), 1);
    const CodPlayerPtr joe = parsed.players().first();
    EXPECT_EQ(joe->playerNumber(), "0");
    EXPECT_EQ(joe->playerScore(), "5");
    EXPECT_EQ(joe->playerPing(), "48");
    EXPECT_EQ(joe->colouredName(), "^2Joe");
    EXPECT_EQ(joe->playerName(), "Joe");
}

TEST(StatusAnswerTest, laterKeysOfTheTableOverwriteEarlierOnesWhateverTheirPlaceInTheAnswer)
{
    EXPECT_EQ(valueOf("\\_Admin\\second\\Admin\\first", StatusAnswer::Admin), "second");
    EXPECT_EQ(valueOf("\\sv_maxClients\\24\\sv_maxclients\\16", StatusAnswer::MaxClients), "24");
    EXPECT_EQ(valueOf("\\sv_maxclients\\16", StatusAnswer::MaxClients), "16");
    EXPECT_EQ(valueOf("\\g_needpass\\1\\pswrd\\0", StatusAnswer::PassActive), "1");
    EXPECT_EQ(valueOf("\\.Website\\a\\_URL\\b\\Website\\c", StatusAnswer::WebSite), "b");
}

TEST(StatusAnswerTest, theFirstPieceEqualToAKeyWinsEvenWhenItIsAValue)
{
    EXPECT_EQ(valueOf("\\mapname\\mp_one\\mapname\\mp_two", StatusAnswer::MapName), "mp_one");
    // "mapname" is first the value of "Location": the piece after it is the map.
    EXPECT_EQ(valueOf("\\Location\\mapname\\mapname\\mp_real", StatusAnswer::MapName), "mapname");
    // Keys match with case only.
    EXPECT_EQ(valueOf("\\MAPNAME\\mp_x", StatusAnswer::MapName), std::nullopt);
}

TEST(StatusAnswerTest, theLastValueEndsAtItsNewlineAndAKeyWithoutValueIsIgnored)
{
    const StatusAnswer parsed = StatusAnswer::parse(
        answerWith(QStringLiteral("\\mapname\\mp_x\\sv_maxclients\\20"), QStringLiteral("1 2 \"a\"\n")));
    EXPECT_EQ(parsed.value(StatusAnswer::MaxClients), "20");
    EXPECT_EQ(parsed.players().size(), 1);

    EXPECT_EQ(StatusAnswer::parse(QStringLiteral("\xff\xff\xff\xffstatusResponse\n\\a\\b\\mapname"))
                  .value(StatusAnswer::MapName),
              std::nullopt);
}

TEST(StatusAnswerTest, playerLinesAreCountedEvenWhenDropped)
{
    const StatusAnswer parsed = StatusAnswer::parse(answerWith(
        QStringLiteral("\\mapname\\mp_x"),
        QStringLiteral("10 50 \"Alice\"\n"
                       "no quote here\n"
                       "7\"Lonely\"\n"
                       "-3 999 \"^1B^7ob \"the\" tank\"\n"
                       "\n")));
    ASSERT_EQ(parsed.players().size(), 2);
    EXPECT_EQ(parsed.players().at(0)->playerNumber(), "0");
    EXPECT_EQ(parsed.players().at(0)->playerName(), "Alice");
    // 7"Lonely" holds one word before its quote: dropped, yet numbered 1.
    EXPECT_EQ(parsed.players().at(1)->playerNumber(), "2");
    EXPECT_EQ(parsed.players().at(1)->playerScore(), "-3");
    EXPECT_EQ(parsed.players().at(1)->playerPing(), "999");
    EXPECT_EQ(parsed.players().at(1)->colouredName(), "^1B^7ob ");
    EXPECT_EQ(parsed.players().at(1)->playerName(), "Bob ");
}

TEST(ColourCodeTest, removesCaretAndDigitPairsInOnePass)
{
    EXPECT_EQ(CodServer::clearColoredName("^1Red^7Name"), "RedName");
    EXPECT_EQ(CodServer::clearColoredName("^^11"), "^1");
    EXPECT_EQ(CodServer::clearColoredName("a^b"), "a^b");
    EXPECT_EQ(CodServer::clearColoredName("end^"), "end^");
    EXPECT_EQ(CodServer::clearColoredName("^0^9^x^"), "^x^");
    EXPECT_EQ(CodServer::clearColoredName("^1^2^3"), "");
    const QString name = QStringLiteral("^5keep");
    EXPECT_EQ(CodServer::clearColoredName(name), "keep");
    EXPECT_EQ(name, "^5keep");
}
