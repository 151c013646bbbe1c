#include "app/MainWindow.h"

#include "app/FavoritesTableModel.h"
#include "app/PlayersTableModel.h"
#include "app/Zorvel.h"

#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>

namespace {

// One command of a menu, named by its action; a command without a name is a separator.
struct MenuCommand {
    QString action;
    QString text;
    QKeySequence shortcut;
};

}  // namespace

MainWindow::MainWindow(Zorvel& controller, QWidget* parent)
    : QMainWindow(parent)
    , controller(controller)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    setUpTables();
    setUpMenus();
    controller.awakeFromNib(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpTables()
{
    favoritesModel = new FavoritesTableModel(controller,
                                             {{QStringLiteral("GameIcon"), QString()},
                                              {QStringLiteral("serverName"), tr("Name")},
                                              {QStringLiteral("serverIp"), tr("Address")},
                                              {QStringLiteral("serverPing"), tr("Ping")}},
                                             this);
    ui->tableViewServers->setModel(favoritesModel);
    ui->tableViewServers->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->tableViewServers->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(ui->tableViewServers->selectionModel(), &QItemSelectionModel::selectionChanged, &controller,
            &Zorvel::tableViewSelectionDidChange);

    playersModel = new PlayersTableModel(controller,
                                         {{QStringLiteral("playerName"), tr("Player")},
                                          {QStringLiteral("playerScore"), tr("Score")},
                                          {QStringLiteral("playerPing"), tr("Ping")}},
                                         this);
    ui->tableViewPlayers->setModel(playersModel);
    ui->tableViewPlayers->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

void MainWindow::setUpMenus()
{
    const QList<std::pair<QString, QList<MenuCommand>>> menus = {
        {tr("&File"), {{QStringLiteral("quit"), tr("&Quit"), QKeySequence::Quit}}},
        {tr("&Edit"),
         {{QStringLiteral("cut"), tr("Cu&t"), QKeySequence::Cut},
          {QStringLiteral("copy"), tr("&Copy"), QKeySequence::Copy},
          {QStringLiteral("paste"), tr("&Paste"), QKeySequence::Paste},
          {QStringLiteral("delete"), tr("&Delete"), QKeySequence::Delete},
          {},
          {QStringLiteral("showPreferencePanel"), tr("P&references…"), QKeySequence(tr("Ctrl+,"))}}},
        {tr("&Server"),
         {{QStringLiteral("newServer"), tr("&New server…"), QKeySequence::New},
          {QStringLiteral("refreshServer"), tr("&Refresh"), QKeySequence(Qt::Key_F5)},
          {QStringLiteral("infoOnServer"), tr("&Information…"), {}},
          {QStringLiteral("createGameRotation"), tr("&Game Rotation…"), {}},
          {},
          {QStringLiteral("scanCodServers"), tr("Scan Call of Duty servers"), {}},
          {QStringLiteral("scanUOServers"), tr("Scan United Offensive servers"), {}},
          {QStringLiteral("scanCod2Servers"), tr("Scan Call of Duty 2 servers"), {}},
          {QStringLiteral("scanCod4Servers"), tr("Scan Call of Duty 4 servers"), {}}}},
    };
    for (const auto& [title, commands] : menus) {
        QMenu* menu = menuBar()->addMenu(title);
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateMenuItems);
        for (const MenuCommand& command : commands) {
            if (command.action.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(command.text);
            action->setObjectName(command.action);
            action->setShortcut(command.shortcut);
            menuCommands.append(action);
        }
    }
    connect(findChild<QAction*>(QStringLiteral("quit")), &QAction::triggered, this, &QWidget::close);
    connect(findChild<QAction*>(QStringLiteral("createGameRotation")), &QAction::triggered, &controller,
            &Zorvel::createGameRotation);
}

void MainWindow::reloadTables()
{
    favoritesModel->reloadData();
    playersModel->reloadData();
}

void MainWindow::updateMenuItems()
{
    for (QAction* action : std::as_const(menuCommands))
        action->setEnabled(controller.validateMenuItem(*action));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    controller.windowWillClose();
    QMainWindow::closeEvent(event);
}
