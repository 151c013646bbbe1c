#include "MainWindowFixture.h"

#include "model/ServerArchive.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <functional>

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

TEST_F(MainWindowTest, groupsCarryTheirTitles)
{
    start();
    EXPECT_EQ(control<QGroupBox>("myServersBox").title(), "My favorite servers:");
    EXPECT_EQ(control<QGroupBox>("changeMapBox").title(), "Change map and gametype");
    EXPECT_EQ(control<QGroupBox>("execBox").title(), "Select file");
    EXPECT_EQ(control<QGroupBox>("kickBox").title(), "Select player");
    EXPECT_EQ(control<QGroupBox>("sayAndRconBox").title(), "Say or rcon command");
}

TEST_F(MainWindowTest, favouritesTableShowsTheLoadedListAndItsGames)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960", "pw"),
                     server("Charlie", "10.0.0.3:28960")});
    start();
    ASSERT_EQ(favourites().model()->rowCount(), 3);
    EXPECT_EQ(cell(favourites(), 0, "Name").toString(), "Alpha");
    EXPECT_EQ(cell(favourites(), 1, "Address").toString(), "10.0.0.2:28960");
    EXPECT_EQ(cell(favourites(), 2, "Name").toString(), "Charlie");
    EXPECT_FALSE(cell(favourites(), 0, "", Qt::DecorationRole).isValid());

    controller->myServers().at(0)->setServerGameName("Call of Duty 4");
    controller->updateUI();
    const QVariant icon = cell(favourites(), 0, "", Qt::DecorationRole);
    ASSERT_TRUE(icon.canConvert<QPixmap>());
    EXPECT_EQ(icon.value<QPixmap>().toImage(), controller->gameImage(GameKind::CoD4).toImage());
    EXPECT_FALSE(cell(favourites(), 1, "", Qt::DecorationRole).isValid());
}

TEST_F(MainWindowTest, playersTableFollowsTheSelectedFavourite)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960")});
    start();
    controller->myServers().at(1)->setServerPlayers({player("Alice", "12"), player("Bob", "3")});
    EXPECT_EQ(players().model()->rowCount(), 0);

    favourites().selectRow(1);
    EXPECT_EQ(controller->currentServer(), controller->myServers().at(1));
    ASSERT_EQ(players().model()->rowCount(), 2);
    EXPECT_EQ(cell(players(), 0, "Player").toString(), "Alice");
    EXPECT_EQ(cell(players(), 1, "Score").toString(), "3");

    controller->myServers().at(1)->setServerPlayers({player("Carol", "1")});
    controller->updateUI();
    EXPECT_EQ(favourites().selectionModel()->selectedRows().value(0).row(), 1);
    ASSERT_EQ(players().model()->rowCount(), 1);
    EXPECT_EQ(cell(players(), 0, "Player").toString(), "Carol");

    favourites().clearSelection();
    EXPECT_EQ(controller->currentServer(), nullptr);
    EXPECT_EQ(players().model()->rowCount(), 0);
}

TEST_F(MainWindowTest, editCommandsNeedASelectedFavouriteButPasteNever)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960")});
    start();
    openEveryMenu();
    for (const char* action : {"copy", "cut", "delete"})
        EXPECT_FALSE(enabled(action)) << action;
    EXPECT_TRUE(enabled("paste"));

    favourites().selectRow(0);
    for (const char* action : {"copy", "cut", "delete", "paste"})
        EXPECT_TRUE(enabled(action)) << action;

    favourites().clearSelection();
    EXPECT_FALSE(enabled("copy"));
    EXPECT_TRUE(enabled("paste"));
}

TEST_F(MainWindowTest, oneRunningMasterScanDisablesEveryScanCommand)
{
    start();
    const QList<std::function<void(Zorvel&, bool)>> scanFlags = {
        &Zorvel::setCodMasterIsRefreshing, &Zorvel::setUOMasterIsRefreshing, &Zorvel::setCod2MasterIsRefreshing,
        &Zorvel::setCod4MasterIsRefreshing};
    const QList<const char*> scanCommands = {"scanCodServers", "scanUOServers", "scanCod2Servers",
                                             "scanCod4Servers"};
    for (const auto& setFlag : scanFlags) {
        setFlag(*controller, true);
        openEveryMenu();
        for (const char* command : scanCommands)
            EXPECT_FALSE(enabled(command)) << command;
        EXPECT_TRUE(enabled("paste"));
        setFlag(*controller, false);
        openEveryMenu();
        for (const char* command : scanCommands)
            EXPECT_TRUE(enabled(command)) << command;
    }
}

TEST_F(MainWindowTest, serverInformationCommandFollowsItsButton)
{
    start();
    control<QPushButton>("infoServerButton").setEnabled(true);
    openEveryMenu();
    EXPECT_TRUE(enabled("infoOnServer"));
    control<QPushButton>("infoServerButton").setEnabled(false);
    openEveryMenu();
    EXPECT_FALSE(enabled("infoOnServer"));
}

TEST_F(MainWindowTest, quittingClosesTheWindowAndOffersToStoreTheChangedList)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960")});
    start();
    controller->myServers().first()->setServerName("Renamed");
    controller->setListOfServersModified(true);
    alerts->answerNext(Alerts::DefaultButton);
    window->show();
    QTimer::singleShot(0, &control<QAction>("quit"), &QAction::trigger);
    QApplication::exec();

    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Modified list of servers");
    const auto stored = ServerArchive::unarchiveServerList(storedFavourites());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->first()->serverName(), "Renamed");
}

TEST_F(MainWindowTest, theUsualCommandsHaveTheUsualShortcutsAndEveryCommandATooltip)
{
    start();
    const QList<std::pair<const char*, QKeySequence>> shortcuts = {
        {"refreshServer", QKeySequence(Qt::Key_F5)},        {"refreshAllServers", QKeySequence("Ctrl+Shift+R")},
        {"newServer", QKeySequence("Ctrl+N")},              {"modifyServer", QKeySequence("Ctrl+E")},
        {"delete", QKeySequence(Qt::Key_Delete)},           {"copy", QKeySequence("Ctrl+C")},
        {"cut", QKeySequence("Ctrl+X")},                    {"paste", QKeySequence("Ctrl+V")},
        {"showPreferencePanel", QKeySequence("Ctrl+,")},    {"quit", QKeySequence("Ctrl+Q")}};
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(control<QAction>(name).shortcut(), keys) << name;

    for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            EXPECT_TRUE(action->toolTip().startsWith(action->text().remove(u'&').remove(u'…')))
                << action->objectName().toStdString();
        }
    }
    EXPECT_EQ(control<QAction>("refreshAllServers").toolTip(), "Refresh all (Ctrl+Shift+R)");
}
