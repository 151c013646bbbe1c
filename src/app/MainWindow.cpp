#include "app/MainWindow.h"

#include "app/FavoritesTableModel.h"
#include "app/InfoWindow.h"
#include "app/NewModifyWindow.h"
#include "app/PasswordWindow.h"
#include "app/PlayersTableModel.h"
#include "app/WindowMemory.h"
#include "app/Zorvel.h"

#include "ui_InfoWindow.h"
#include "ui_MainWindow.h"
#include "ui_NewModifyWindow.h"
#include "ui_PasswordWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>

namespace {

// One command of a menu, named by its action, and the controller's operation it
// runs; a command without a name is a separator.
struct MenuCommand {
    QString action;
    QString text;
    QKeySequence shortcut;
    void (Zorvel::*operation)() = nullptr;
};

}  // namespace

MainWindow::MainWindow(Zorvel& controller, QWidget* parent)
    : QMainWindow(parent)
    , controller(controller)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    WindowMemory::attach(*this, QStringLiteral("MainWindow"));
    setUpTables();
    setUpMenus();
    setUpButtons();
    setUpSheets();
    controller.awakeFromNib(*this);
}

MainWindow::~MainWindow()
{
    controller.forgetMainWindow();
}

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
    connect(ui->tableViewServers, &QAbstractItemView::doubleClicked, &controller, &Zorvel::refreshServer);

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
        {tr("&File"), {{QStringLiteral("quit"), tr("&Quit"), QKeySequence(tr("Ctrl+Q"))}}},
        {tr("&Edit"),
         {{QStringLiteral("cut"), tr("Cu&t"), QKeySequence::Cut, &Zorvel::cut},
          {QStringLiteral("copy"), tr("&Copy"), QKeySequence::Copy, &Zorvel::copy},
          {QStringLiteral("paste"), tr("&Paste"), QKeySequence::Paste, &Zorvel::paste},
          {QStringLiteral("delete"), tr("&Delete"), QKeySequence::Delete, &Zorvel::deleteSelection},
          {},
          {QStringLiteral("showPreferencePanel"), tr("P&references…"), QKeySequence(tr("Ctrl+,")),
            &Zorvel::showPreferencePanel}}},
        {tr("&Server"),
         {{QStringLiteral("newServer"), tr("&New server…"), QKeySequence::New, &Zorvel::newServer},
          {QStringLiteral("modifyServer"), tr("&Modify server…"), QKeySequence(tr("Ctrl+E")), &Zorvel::modifyServer},
          {QStringLiteral("refreshServer"), tr("&Refresh"), QKeySequence(Qt::Key_F5), &Zorvel::refreshServer},
          {QStringLiteral("refreshAllServers"), tr("Refresh &all"), QKeySequence(tr("Ctrl+Shift+R")),
           &Zorvel::refreshAllServers},
          {QStringLiteral("goToServer"), tr("&Join"), {}, &Zorvel::goToServer},
          {QStringLiteral("infoOnServer"), tr("&Information…"), {}, &Zorvel::infoOnServer},
          {QStringLiteral("createGameRotation"), tr("&Game Rotation…"), {}, &Zorvel::createGameRotation},
          {},
          {QStringLiteral("showFindServerWindow"), tr("&Find servers…"), QKeySequence::Find,
           &Zorvel::showFindServerWindow},
          {QStringLiteral("showFindPlayerOrClanPanel"), tr("Find a &player or clan…"), QKeySequence(tr("Ctrl+Shift+F")),
           &Zorvel::showFindPlayerOrClanPanel},
          {},
          {QStringLiteral("scanCodServers"), tr("Scan Call of Duty servers"), {}, &Zorvel::scanCodServers},
          {QStringLiteral("scanUOServers"), tr("Scan United Offensive servers"), {}, &Zorvel::scanUOServers},
          {QStringLiteral("scanCod2Servers"), tr("Scan Call of Duty 2 servers"), {}, &Zorvel::scanCod2Servers},
          {QStringLiteral("scanCod4Servers"), tr("Scan Call of Duty 4 servers"), {}, &Zorvel::scanCod4Servers}}},
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
            describe(*action);
            if (command.operation)
                connect(action, &QAction::triggered, &controller, command.operation);
            menuCommands.append(action);
        }
    }
    connect(findChild<QAction*>(QStringLiteral("quit")), &QAction::triggered, this, &QWidget::close);
}

void MainWindow::describe(QAction& action)
{
    // The tooltip and the status line name the command and its shortcut; screen
    // readers take the menu entry's text.
    QString description = action.text().remove(u'&').remove(u'…');
    if (!action.shortcut().isEmpty())
        description += QStringLiteral(" (%1)").arg(action.shortcut().toString(QKeySequence::NativeText));
    action.setToolTip(description);
    action.setStatusTip(description);
}

void MainWindow::setUpButtons()
{
    connect(ui->newServerButton, &QPushButton::clicked, &controller, &Zorvel::newServer);
    connect(ui->modifyServerButton, &QPushButton::clicked, &controller, &Zorvel::modifyServer);
    connect(ui->deleteServerButton, &QPushButton::clicked, &controller, &Zorvel::deleteServer);
    connect(ui->infoServerButton, &QPushButton::clicked, &controller, &Zorvel::infoOnServer);
    connect(ui->refreshServerButton, &QPushButton::clicked, &controller, &Zorvel::refreshServer);
    connect(ui->refreshAllServersButton, &QPushButton::clicked, &controller, &Zorvel::refreshAllServers);
    connect(ui->goToServerButton, &QPushButton::clicked, &controller, &Zorvel::goToServer);
    connect(ui->playerNameToFind, &QLineEdit::textChanged, &controller, &Zorvel::reloadServerTable);
    connect(ui->AWEButton, &QCheckBox::toggled, &controller, &Zorvel::addRemoveAWEGametypes);
    connect(ui->createGameRotationButton, &QPushButton::clicked, &controller, &Zorvel::createGameRotation);
    const QList<std::pair<QPushButton*, void (Zorvel::*)()>> consoleButtons = {
        {ui->restartButton, &Zorvel::restart},
        {ui->nextMapButton, &Zorvel::nextMap},
        {ui->changeMapButton, &Zorvel::changeMap},
        {ui->sayButton, &Zorvel::rconSay},
        {ui->rconButton, &Zorvel::rconCommand},
        {ui->kickButton, &Zorvel::kickPlayer},
        {ui->kickAllButton, &Zorvel::kickAllPlayer},
        {ui->banButton, &Zorvel::banPlayer},
        {ui->setNewServerPasswordButton, &Zorvel::setNewServerPassword},
        {ui->execButton, &Zorvel::execCfg},
    };
    for (const auto& [button, operation] : consoleButtons)
        connect(button, &QPushButton::clicked, &controller, operation);
}

void MainWindow::setUpSheets()
{
    newModifySheet = new NewModifyWindow(this);
    const Ui::NewModifyWindow& newModify = newModifySheet->controls();
    connect(newModify.okButton, &QPushButton::clicked, &controller, &Zorvel::okNewModifyWindow);
    connect(newModify.cancelButton, &QPushButton::clicked, &controller, &Zorvel::cancelNewModifyWindow);
    connect(newModifySheet, &QDialog::finished, &controller,
            [this](int result) { controller.newModifySheetDidEnd(result, newModifySheet->mode()); });

    infoSheet = new InfoWindow(this);
    connect(infoSheet->controls().closeButton, &QPushButton::clicked, &controller, &Zorvel::closeInfoWindow);

    passwordSheet = new PasswordWindow(this);
    connect(passwordSheet->controls().okButton, &QPushButton::clicked, &controller, &Zorvel::okPasswordWindow);
    connect(passwordSheet->controls().cancelButton, &QPushButton::clicked, &controller,
            &Zorvel::cancelPasswordWindow);
}

void MainWindow::reloadTables()
{
    favoritesModel->reloadData();
    playersModel->reloadData();
}

void MainWindow::reloadFavouritesTable()
{
    favoritesModel->reloadData();
}

void MainWindow::selectFavouriteRow(int row)
{
    // Without a current row the table does not select a neighbour of a removed row;
    // the current row goes first, as dropping the selection redraws the window.
    if (row < 0) {
        ui->tableViewServers->selectionModel()->clearCurrentIndex();
        ui->tableViewServers->selectionModel()->clearSelection();
    } else {
        ui->tableViewServers->selectRow(row);
    }
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
