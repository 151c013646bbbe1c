#include "FinderWindowTest.h"

#include "finders/FavoritePlayers.h"

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
        ui->playerToFindBox->setEditText(text);
        ui->startButton->click();
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
    finder->getTheServersArray({server("One", "Call of Duty", {"Ali Baba", "Nobody", "ALIce"})},
                               {server("Other", "etpro", {"Alibi"})}, {two}, {four});
    search("ali");
    EXPECT_FALSE(ui->startButton->isChecked()) << "a search without scans ends at once";
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One", "Alibi @ Other", "kALIf @ Four"}));
    search("");
    EXPECT_EQ(results().size(), 4) << "an empty text keeps the results";

    search("zorro");
    ui->tableOfPlayers->selectRow(0);
    ui->joinPlayerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect " + two->serverIp()}));

    const auto edit = [this](const QString& text, QPushButton* button) {
        ui->playerToFindBox->setEditText(text);
        button->click();
    };
    for (const QString name : {"Zorro", "zorro", "", "[TAG]", "[TAG]"})
        edit(name, ui->addNameButton);
    EXPECT_EQ(FavoritePlayers::stored(), QStringList({"Zorro", "zorro", "[TAG]"}));
    edit("nobody", ui->deleteNameButton);
    edit("Zorro", ui->deleteNameButton);
    EXPECT_EQ(FavoritePlayers::stored(), QStringList({"zorro", "[TAG]"}));
    EXPECT_EQ(entries(*ui->playerToFindBox), QStringList({"zorro", "[TAG]"}));
}
