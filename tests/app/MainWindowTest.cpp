#include "MainWindowFixture.h"

#include "app/Preferences.h"

#include <QAction>
#include <QHeaderView>
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
    // Closes the window and its controller, as quitting does.
    void quit()
    {
        window.reset();
        controller.reset();
    }
};

TEST_F(MainWindowTest, tablesShowTheFavouritesTheirGamesAndTheSelectedOnesPlayers)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960")});
    favourite(0)->setServerGameName("Call of Duty 4");
    favourite(1)->setServerPlayers({player("Alice", "12"), player("Bob", "3")});
    redraw();
    EXPECT_EQ(cell(favourites(), 0, "", Qt::DecorationRole).value<QPixmap>().toImage(),
              controller->gameImage(GameKind::CoD4).toImage());
    EXPECT_FALSE(cell(favourites(), 1, "", Qt::DecorationRole).isValid());
    EXPECT_EQ(players().model()->rowCount(), 0);

    select(1);
    EXPECT_EQ(cell(players(), 1, "Player").toString() + cell(players(), 1, "Score").toString(), "Bob3");
    favourite(1)->setServerPlayers({player("Carol", "1")});
    redraw();
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(players().model()->rowCount(), 1);

    select(-1);
    EXPECT_EQ(controller->currentServer(), nullptr);
    EXPECT_EQ(players().model()->rowCount(), 0);
}

TEST_F(MainWindowTest, editCommandsNeedASelectionAndOneRunningMasterScanDisablesEveryScan)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    for (int row : {-1, 0}) {
        select(row);
        openEveryMenu();
        for (const char* command : {"copy", "cut", "delete"})
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

TEST_F(MainWindowTest, sizeAndColumnWidthsSurviveARestartUnlessTheStoredLayoutIsDamaged)
{
    start();
    const auto playerColumns = [this]() -> QHeaderView& { return *players().horizontalHeader(); };
    const QSize firstSize = window->size();
    const int firstWidth = playerColumns().sectionSize(1);
    window->resize(913, 644);
    playerColumns().resizeSection(1, 123);
    window->hide();

    quit();
    start();
    EXPECT_EQ(window->size(), QSize(913, 644));
    EXPECT_EQ(playerColumns().sectionSize(1), 123);

    quit();
    Preferences::standard().setObject(QByteArray("not a geometry"), "Window geometry MainWindow");
    Preferences::standard().setObject(QByteArray("\x01\x02"), "Columns of MainWindow tableViewPlayers");
    start();
    EXPECT_EQ(window->size(), firstSize);
    EXPECT_EQ(playerColumns().sectionSize(1), firstWidth);
}
