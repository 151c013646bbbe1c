#include "MainWindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

class MainWindowTest : public MainWindowFixture {
protected:
    bool enabled(const char* action) const { return control<QAction>(action).isEnabled(); }

    // Opens and closes every menu, as the user does before choosing a command.
    void openEveryMenu() const
    {
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
            menu->popup({});
            menu->hide();
        }
    }
};

TEST_F(MainWindowTest, tablesShowTheFavouritesTheirGamesAndTheSelectedOnesPlayers)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960")});
    EXPECT_EQ(cell(favourites(), 1, "Address").toString(), "10.0.0.2:28960");
    favourite(0)->setServerGameName("Call of Duty 4");
    favourite(1)->setServerPlayers({player("Alice", "12"), player("Bob", "3")});
    redraw();
    EXPECT_EQ(cell(favourites(), 0, "", Qt::DecorationRole).value<QPixmap>().toImage(),
              controller->gameImage(GameKind::CoD4).toImage());
    EXPECT_FALSE(cell(favourites(), 1, "", Qt::DecorationRole).isValid());
    EXPECT_EQ(players().model()->rowCount(), 0);

    select(1);
    EXPECT_EQ(controller->currentServer(), favourite(1));
    ASSERT_EQ(players().model()->rowCount(), 2);
    EXPECT_EQ(cell(players(), 1, "Score").toString(), "3");

    favourite(1)->setServerPlayers({player("Carol", "1")});
    redraw();
    EXPECT_EQ(selectedRow(), 1);
    ASSERT_EQ(players().model()->rowCount(), 1);
    EXPECT_EQ(cell(players(), 0, "Player").toString(), "Carol");

    select(-1);
    EXPECT_EQ(controller->currentServer(), nullptr);
    EXPECT_EQ(players().model()->rowCount(), 0);
}

TEST_F(MainWindowTest, editCommandsNeedASelectionAndOneRunningMasterScanDisablesEveryScan)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    const QList<const char*> editCommands = {"copy", "cut", "delete"};
    for (int row : {-1, 0}) {
        select(row);
        openEveryMenu();
        for (const char* command : editCommands)
            EXPECT_EQ(enabled(command), row == 0) << command;
        EXPECT_TRUE(enabled("paste"));
    }

    const QList<void (Zorvel::*)(bool)> scanFlags = {&Zorvel::setCodMasterIsRefreshing,
                                                     &Zorvel::setUOMasterIsRefreshing,
                                                     &Zorvel::setCod2MasterIsRefreshing,
                                                     &Zorvel::setCod4MasterIsRefreshing};
    for (const auto& setFlag : scanFlags) {
        for (bool running : {true, false}) {
            ((*controller).*setFlag)(running);
            openEveryMenu();
            for (const char* command : {"scanCodServers", "scanUOServers", "scanCod2Servers", "scanCod4Servers"})
                EXPECT_EQ(enabled(command), !running) << command;
        }
    }
}
