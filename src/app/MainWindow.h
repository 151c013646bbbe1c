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
class Zorvel;

// The main window: the favourites and the selected server's players, the server
// buttons, the summary of the selected server, the progress of the scans, the
// administration drawer, the menus, and its three sheets (new/modify, details and the
// join password). It
// shows the controller's state and hands the user's actions to the controller,
// which decides what it shows and enables.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Zorvel& controller, QWidget* parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow& controls() { return *ui; }
    NewModifyWindow& newModifyWindow() { return *newModifySheet; }
    InfoWindow& infoWindow() { return *infoSheet; }
    PasswordWindow& passwordWindow() { return *passwordSheet; }

    // Brings both tables up to date with the controller's lists.
    void reloadTables();
    void reloadFavouritesTable();
    // Makes the row the only selected favourite; -1 selects none.
    void selectFavouriteRow(int row);
    // Enables each menu command as the controller's menu rules decide.
    void updateMenuItems();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpTables();
    void setUpMenus();
    static void describe(QAction& action);
    void setUpButtons();
    void setUpSheets();

    Zorvel& controller;
    std::unique_ptr<Ui::MainWindow> ui;
    FavoritesTableModel* favoritesModel = nullptr;
    PlayersTableModel* playersModel = nullptr;
    NewModifyWindow* newModifySheet = nullptr;
    InfoWindow* infoSheet = nullptr;
    PasswordWindow* passwordSheet = nullptr;
    QList<QAction*> menuCommands;
};
