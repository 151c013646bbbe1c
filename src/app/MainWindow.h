#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

namespace Ui {
class MainWindow;
}
class FavoritesTableModel;
class PlayersTableModel;
class Zorvel;

// The main window: the favourites and the selected server's players, the server
// buttons, the summary of the selected server, the progress of the scans, the
// administration drawer and the menus. It shows the controller's state; the
// controller decides what it shows and enables.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Zorvel& controller, QWidget* parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow& controls() { return *ui; }

    // Brings both tables up to date with the controller's lists.
    void reloadTables();
    // Enables each menu command as the controller's menu rules decide.
    void updateMenuItems();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpTables();
    void setUpMenus();

    Zorvel& controller;
    std::unique_ptr<Ui::MainWindow> ui;
    FavoritesTableModel* favoritesModel = nullptr;
    PlayersTableModel* playersModel = nullptr;
    QList<QAction*> menuCommands;
};
