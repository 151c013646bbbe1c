#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

namespace Ui {
class MainWindow;
}
class FavoritesTableModel;
class InfoWindow;
class NewModifyWindow;
class PasswordWindow;
class PlayersTableModel;
class QAction;
class QMenu;
class QTableView;
class Zorvel;

// The main window: the favourites and the selected server's players, the server
// buttons, the summary of the selected server, the administration drawer with its
// console, the menus and context menus, the status bar with the outcome of the last
// action and the progress of the scans, and its three sheets (new/modify, details
// and the join password). It shows the controller's state and hands the user's
// actions to the controller, which decides what it shows and enables.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Zorvel& controller, QWidget* parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow& controls() { return *ui; }
    NewModifyWindow& newModifyWindow() { return *newModifySheet; }
    InfoWindow& infoWindow() { return *infoSheet; }
    PasswordWindow& passwordWindow() { return *passwordSheet; }
    // The Join button's tooltip while it is enabled: what it does.
    const QString& joinButtonTip() const { return joinTip; }

    // Brings both tables up to date with the controller's lists; the players table
    // selects the player the user chose, wherever the new list has it.
    void reloadTables();
    // Makes the row the only selected favourite; -1 selects none.
    void selectFavouriteRow(int row);
    // Enables each menu command as the controller's menu rules decide.
    void updateMenuItems();
    // Tells in the status bar what became of the user's last action.
    void showOutcome(const QString& message);
    // A later start of Zorvel on the same settings folder handed over to this run:
    // the window comes out of the task bar and to the front, and says so on standard
    // error.
    void comeToFront();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpTables();
    // Makes the row the only selected one of the table; -1 selects none.
    static void selectOnlyRow(QTableView& table, int row);
    void setUpMenus();
    // The Server menu's Scan submenu, one entry per game.
    void addScanMenu(QMenu& serverMenu);
    // The context menus of the favourites and of the players: the commands on the
    // row under the pointer, which a right click selects.
    void setUpContextMenus();
    QMenu& contextMenuOf(QTableView& table, const QString& name);
    static void describe(QAction& action);
    void setUpButtons();
    // The drawer's console shows each command's answer.
    void setUpDrawer();
    void setUpConsole();
    void setUpStatusBar();
    void setUpSheets();

    Zorvel& controller;
    std::unique_ptr<Ui::MainWindow> ui;
    FavoritesTableModel* favoritesModel = nullptr;
    PlayersTableModel* playersModel = nullptr;
    // Shown only while a player of the current server has a team.
    static constexpr int teamColumn = 3;
    NewModifyWindow* newModifySheet = nullptr;
    InfoWindow* infoSheet = nullptr;
    PasswordWindow* passwordSheet = nullptr;
    QString joinTip;
    // Set while the players table takes in a new list: the selection it loses or
    // regains then is no choice of the user's.
    bool reloadingPlayers = false;
    QList<QAction*> menuCommands;
};
