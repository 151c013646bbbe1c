#include "FinderWindowTest.h"

#include "finders/FavoritePlayers.h"
#include "support/UserInput.h"

#include "ui_PlayerFinder.h"

namespace {

class PlayerFinderTest : public FinderWindowTest {
protected:
    void SetUp() override
    {
        FinderWindowTest::SetUp();
        FavoritePlayers::store({"Zorro"});
        finder = &openPlayerFinder();
        ui = &finder->controls();
    }

    void search(const QString& text) const
    {
        UserInput::typeInto(*ui->playerToFindBox, text);
        UserInput::click(*ui->startButton);
    }

    // "player @ server" for every result, in order.
    QStringList results() const
    {
        QStringList rows;
        for (const PlayerFound& found : finder->thePlayersFound())
            rows.append(found.thePlayer->playerName() + " @ " + found.thePlayerServer->serverName());
        return rows;
    }

    PlayerFinder* finder = nullptr;
    Ui::PlayerFinder* ui = nullptr;
};

}  // namespace

TEST_F(PlayerFinderTest, aSearchRunsOverEveryListItsSelectedResultsServerIsJoinedAndTheKeptNamesAreStored)
{
    const auto server = [](const char* name, const char* gameName, const QStringList& players) {
        static int port = 21000;
        return serverWithPlayers(
            {.name = name, .ip = QStringLiteral("127.0.0.1:%1").arg(++port), .gameName = gameName}, players);
    };
    const CodServerPtr two = server("Two", "Call of Duty 2", {"Zorro"});
    const CodServerPtr four = server("Four", "Call of Duty 4", {"kALIf"});
    finder->getTheServersArray({{server("One", "Call of Duty", {"Ali Baba", "Nobody", "ALIce"})},
                               {server("Other", "etpro", {"Alibi"})}, {two}, {four}});
    search("ali");
    EXPECT_FALSE(ui->startButton->isChecked()) << "a search without scans ends at once";
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One", "Alibi @ Other", "kALIf @ Four"}));
    search("");
    EXPECT_EQ(results().size(), 4) << "an empty text keeps the results";

    search("zorro");
    ui->tableOfPlayers->selectRow(0);
    ui->joinPlayerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", two->serverIp()}));

    // Typed, with Enter, then the button clicked: the text is the name as typed.
    const auto edit = [this](const QString& text, QPushButton* button) {
        UserInput::typeInto(*ui->playerToFindBox, text);
        UserInput::pressEnter(*ui->playerToFindBox);
        UserInput::click(*button);
    };
    for (const QString name : {"Zorro", "zorro", "", "[TAG]", "[TAG]"})
        edit(name, ui->addNameButton);
    EXPECT_EQ(FavoritePlayers::stored(), QStringList({"Zorro", "zorro", "[TAG]"}));
    for (const QString name : {"nobody", "ZORRO", "Zorro"})
        edit(name, ui->deleteNameButton);
    EXPECT_EQ(FavoritePlayers::stored(), QStringList({"zorro", "[TAG]"}));
    EXPECT_EQ(entries(*ui->playerToFindBox), QStringList({"zorro", "[TAG]"}));
}

TEST_F(PlayerFinderTest, aClickOnAColumnTitleOrdersTheResultsAndTheSelectionStaysOnItsResult)
{
    const auto withScores = [](const FinderServer& look, const QList<std::pair<QString, QString>>& players) {
        QList<CodPlayerPtr> list;
        for (const auto& [name, score] : players)
            list.append(std::make_shared<const CodPlayer>(CodPlayer::Fields{.name = name, .score = score}));
        const CodServerPtr server = look.make();
        server->setServerPlayers(list);
        return server;
    };
    finder->getTheServersArray({{withScores({.ip = "127.0.0.1:22001"}, {{"Sarge", "9"}, {"Alice", "10"}})}, {},
                               {withScores({.ip = "127.0.0.1:22002", .ping = "Ping: 120 ms"}, {{"carl", "-3"}})},
                               {}});
    search("a");
    QTableView& table = *ui->tableOfPlayers;
    const auto selectedRow = [&table] { return table.selectionModel()->selectedRows().value(0, {}).row(); };

    UserInput::clickColumnTitle(table, "Score");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"carl", "Sarge", "Alice"}));
    UserInput::clickRow(table, 1);
    UserInput::clickColumnTitle(table, "Score");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"Alice", "Sarge", "carl"}));
    EXPECT_EQ(selectedRow(), 1) << "the selection stays on its result";
    UserInput::clickColumnTitle(table, "Player");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"Alice", "carl", "Sarge"}));
    search("a");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"Alice", "carl", "Sarge"}))
        << "a new search keeps the order";
    UserInput::clickColumnTitle(table, "Ping");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"Alice", "Sarge", "carl"}));
}

TEST_F(PlayerFinderTest, enterSearchesTheRowsAreCountedOrderedAsNamesAndFollowTheListsOfTheNextFetch)
{
    const FinderServer look{.ip = "127.0.0.1:22101"};
    finder->getTheServersArray({{serverWithPlayers(look, {"bot1000-22", "Bot1000-5", "bot1000-100", "Sarge"})}, {}, {},
                               {}});
    UserInput::typeInto(*ui->playerToFindBox, "bot1000");
    UserInput::pressEnter(*ui->playerToFindBox);
    EXPECT_FALSE(ui->startButton->isChecked()) << "the search ran, and ended as no scan runs";
    EXPECT_EQ(ui->numberOfPlayersFound->text(), "3 players found");
    UserInput::clickColumnTitle(*ui->tableOfPlayers, "Player");
    EXPECT_EQ(namesFound(finder->thePlayersFound()), QStringList({"Bot1000-5", "bot1000-22", "bot1000-100"}))
        << "numbers in names order by their value";

    // Another fetch's lists: no row stays of a server they no longer hold.
    const FinderServer other{.name = "Other", .ip = "127.0.0.1:22102"};
    finder->getTheServersArray({{serverWithPlayers(other, {"Bot1000-7", "Anyone"})}, {}, {}, {}});
    EXPECT_EQ(results(), QStringList({"Bot1000-7 @ Other"}));
    EXPECT_EQ(ui->numberOfPlayersFound->text(), "1 player found");
}
