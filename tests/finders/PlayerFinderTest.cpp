#include "FinderWindowTest.h"

#include "finders/FavoritePlayers.h"

#include "ui_PlayerFinder.h"

#include <QPixmap>

namespace {

CodServerPtr serverWith(const QString& name, const QStringList& players,
                        const QString& gameName = QStringLiteral("Call of Duty"))
{
    static int port = 21000;
    const CodServerPtr server =
        FinderServer{.name = name, .ip = QStringLiteral("127.0.0.1:%1").arg(++port), .gameName = gameName}.make();
    QList<CodPlayerPtr> list;
    for (const QString& player : players)
        list.append(finderPlayer(player));
    server->setServerPlayers(list);
    return server;
}

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

    bool searching() const { return ui->startButton->isChecked() && !ui->isSearchingIndicator->isHidden(); }

    PlayerFinder* finder = nullptr;
    Ui::PlayerFinder* ui = nullptr;
    const CodServerPtr one = serverWith("One", {"Ali Baba", "Nobody", "ALIce"});
    const CodServerPtr four = serverWith("Four", {"kALIf"}, "Call of Duty 4");
    const CodServerPtr other = serverWith("Other", {"Alibi"}, "etpro");
};

}  // namespace

TEST_F(PlayerFinderTest, aSearchWithoutScansRunsOnceOverEveryListAndKeepsItsResultsAfterAnEmptyText)
{
    finder->getTheServersArray({one}, {other}, {}, {four});
    search("ali");
    EXPECT_FALSE(searching());
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One", "Alibi @ Other", "kALIf @ Four"}));
    EXPECT_EQ(cell(*ui->tableOfPlayers, 1, "Ping"), QVariant(" 50 ms"));
    EXPECT_TRUE(cell(*ui->tableOfPlayers, 1, "Last answer").toString().endsWith(" s"));
    const auto icon = [this](int row) { return cell(*ui->tableOfPlayers, row, QString(), Qt::DecorationRole); };
    EXPECT_EQ(icon(3).value<QPixmap>().toImage(), controller->gameImage(GameKind::CoD4).toImage());
    EXPECT_FALSE(icon(2).isValid()) << "no icon for a game without master server";

    search("");
    EXPECT_EQ(results().size(), 4);
}

TEST_F(PlayerFinderTest, aSearchStartedDuringAScanRunsAgainAtEveryHandOverUntilTheScanEnds)
{
    setScanning(true);
    finder->getTheServersArray({one}, {}, {}, {});
    search("ali");
    EXPECT_TRUE(searching());
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One"}));
    ui->tableOfPlayers->selectRow(0);
    EXPECT_FALSE(ui->joinPlayerButton->isEnabled());

    finder->getTheServersArray({one}, {}, {}, {four});
    EXPECT_TRUE(searching());
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One", "kALIf @ Four"}));
    EXPECT_EQ(selectedRow(*ui->tableOfPlayers), -1);

    // The scan's last hand-over comes after its running flag went down.
    controller->setCodMasterIsRefreshing(false);
    four->setServerPlayers({finderPlayer("Khalid")});
    finder->getTheServersArray({one}, {}, {}, {four});
    EXPECT_FALSE(searching());
    EXPECT_EQ(results(), QStringList({"Ali Baba @ One", "ALIce @ One", "Khalid @ Four"}));

    finder->getTheServersArray({}, {}, {}, {});
    EXPECT_EQ(results().size(), 3) << "a search that ended is not run again";
}

TEST_F(PlayerFinderTest, theSelectedResultsServerIsJoinedAndAddedToTheFavouritesAndTheKeptNamesAreStored)
{
    const CodServerPtr cod2 = serverWith("Two", {"Zorro"}, "Call of Duty 2");
    finder->getTheServersArray({}, {}, {cod2}, {});
    search("zorro");
    ui->tableOfPlayers->selectRow(0);
    ui->joinPlayerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect " + cod2->serverIp()}));
    ui->addServerButton->click();
    EXPECT_EQ(controller->myServers().last()->serverIp(), cod2->serverIp());

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
