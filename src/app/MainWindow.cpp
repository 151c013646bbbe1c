#include "app/MainWindow.h"

#include "app/FavoritesTableModel.h"
#include "app/InfoWindow.h"
#include "app/NewModifyWindow.h"
#include "app/PasswordWindow.h"
#include "app/PlayersTableModel.h"
#include "app/Zorvel.h"
#include "model/GameCatalogue.h"
#include "platform/EditableComboBox.h"
#include "platform/FittingScrollArea.h"
#include "platform/PlainText.h"
#include "platform/WindowMemory.h"

#include "ui_InfoWindow.h"
#include "ui_MainWindow.h"
#include "ui_NewModifyWindow.h"
#include "ui_PasswordWindow.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// One command of a menu, named by its action, and the controller's operation it
// runs; a command without a name is a separator.
struct MenuCommand {
    QString action;
    QString text;
    QKeySequence shortcut;
    void (Zorvel::*operation)() = nullptr;
};

// The favourites table's context menu: the menu bar's commands on one favourite,
// named by their actions; an empty name is a separator.
const QStringList favouriteCommands = {
    QStringLiteral("refreshServer"), QStringLiteral("goToServer"), QStringLiteral("goToServerWithPassword"),
    QStringLiteral("infoOnServer"),  QString(),                      QStringLiteral("newServer"),
    QStringLiteral("modifyServer"),  QString(),                      QStringLiteral("cut"),
    QStringLiteral("copy"),          QStringLiteral("paste"),        QStringLiteral("delete"),
};

}  // namespace

MainWindow::MainWindow(Zorvel& controller, QWidget* parent)
    : QMainWindow(parent)
    , controller(controller)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
    joinTip = ui->goToServerButton->toolTip();
    WindowMemory::attach(*this, QStringLiteral("MainWindow"));
    setUpTables();
    setUpMenus();
    setUpContextMenus();
    setUpButtons();
    setUpDrawer();
    setUpConsole();
    setUpStatusBar();
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
                                          {QStringLiteral("playerPing"), tr("Ping")},
                                          {QStringLiteral("playerTeam"), tr("Team")}},
                                         this);
    ui->tableViewPlayers->setModel(playersModel);
    ui->tableViewPlayers->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(ui->tableViewPlayers->selectionModel(), &QItemSelectionModel::selectionChanged, &controller, [this] {
        if (reloadingPlayers)
            return;
        const QModelIndexList rows = ui->tableViewPlayers->selectionModel()->selectedRows();
        controller.console().playersSelectionDidChange(rows.isEmpty() ? -1 : rows.first().row());
    });
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
          {QStringLiteral("goToServerWithPassword"), tr("Join with pass&word…"), {},
           &Zorvel::goToServerWithPassword},
          {QStringLiteral("infoOnServer"), tr("&Information…"), {}, &Zorvel::infoOnServer},
          {QStringLiteral("createGameRotation"), tr("&Game Rotation…"), {}, &Zorvel::createGameRotation},
          {},
          {QStringLiteral("showFindServerWindow"), tr("&Find servers…"), QKeySequence::Find,
           &Zorvel::showFindServerWindow},
          {QStringLiteral("showFindPlayerOrClanPanel"), tr("Find a &player or clan…"), QKeySequence(tr("Ctrl+Shift+F")),
           &Zorvel::showFindPlayerOrClanPanel},
          {QStringLiteral("findLanServers"), tr("Find servers on this &network"), {}, &Zorvel::findLanServers},
          {QStringLiteral("showWatchWindow"), tr("&Watch…"), QKeySequence(tr("Ctrl+Shift+W")), &Zorvel::showWatchWindow},
          {}}},
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
    addScanMenu(*menuBar()->actions().constLast()->menu());
    connect(findChild<QAction*>(QStringLiteral("quit")), &QAction::triggered, this, &QWidget::close);
}

void MainWindow::setUpContextMenus()
{
    QMenu& favouriteMenu = contextMenuOf(*ui->tableViewServers, QStringLiteral("favouritesContextMenu"));
    for (const QString& command : favouriteCommands) {
        if (command.isEmpty())
            favouriteMenu.addSeparator();
        else
            favouriteMenu.addAction(findChild<QAction*>(command));
    }

    // Kick and ban by name are the drawer's buttons with Alt held, which many window
    // managers keep for themselves: here they need no modifier.
    QMenu& playerMenu = contextMenuOf(*ui->tableViewPlayers, QStringLiteral("playersContextMenu"));
    const QList<std::tuple<QString, QString, void (ServerConsole::*)()>> playerCommands = {
        {QStringLiteral("kickPlayer"), tr("&Kick"), &ServerConsole::kickPlayer},
        {QStringLiteral("kickPlayerByName"), tr("Kick by &name"), &ServerConsole::kickPlayerByName},
        {QStringLiteral("banPlayer"), tr("&Ban"), &ServerConsole::banPlayer},
        {QStringLiteral("banPlayerByName"), tr("Ban by n&ame"), &ServerConsole::banPlayerByName},
    };
    for (const auto& [name, text, operation] : playerCommands) {
        QAction* action = playerMenu.addAction(text);
        action->setObjectName(name);
        describe(*action);
        connect(action, &QAction::triggered, &controller.console(), operation);
        menuCommands.append(action);
    }
}

QMenu& MainWindow::contextMenuOf(QTableView& table, const QString& name)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateMenuItems);
    // A context menu is a window of its own, whose status tips reach no status bar:
    // its entries' tips are shown here.
    connect(menu, &QMenu::hovered, this, [this](QAction* entry) { statusBar()->showMessage(entry->statusTip()); });
    connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
    table.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&table, &QWidget::customContextMenuRequested, menu,
            [menu, &table](const QPoint& at) { menu->popup(table.viewport()->mapToGlobal(at)); });
    return *menu;
}

// One entry per game of the catalogue, "scan-" and the game's id, starts its scan.
void MainWindow::addScanMenu(QMenu& serverMenu)
{
    QMenu* scanMenu = serverMenu.addMenu(tr("&Scan"));
    scanMenu->setObjectName(QStringLiteral("scanMenu"));
    connect(scanMenu, &QMenu::aboutToShow, this, &MainWindow::updateMenuItems);
    const QList<GameDescription>& games = GameCatalogue::standard().games();
    for (int tag = 0; tag < int(games.size()); ++tag) {
        QAction* action = scanMenu->addAction(tr("%1 servers").arg(games.at(tag).name));
        action->setObjectName(QStringLiteral("scan-") + games.at(tag).id);
        describe(*action);
        connect(action, &QAction::triggered, &controller, [this, tag] { controller.scanServers(tag); });
        menuCommands.append(action);
    }
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
    // The drawer sends the map and gametype as typed, or as picked from its lists.
    for (QComboBox* box : {ui->mapListComboBox, ui->gametypeListComboBox})
        EditableComboBox::keepTypedText(*box);
    connect(ui->newServerButton, &QPushButton::clicked, &controller, &Zorvel::newServer);
    connect(ui->modifyServerButton, &QPushButton::clicked, &controller, &Zorvel::modifyServer);
    connect(ui->deleteServerButton, &QPushButton::clicked, &controller, &Zorvel::deleteServer);
    connect(ui->infoServerButton, &QPushButton::clicked, &controller, &Zorvel::infoOnServer);
    connect(ui->refreshServerButton, &QPushButton::clicked, &controller, &Zorvel::refreshServer);
    connect(ui->refreshAllServersButton, &QPushButton::clicked, &controller, &Zorvel::refreshAllServers);
    connect(ui->goToServerButton, &QPushButton::clicked, &controller, &Zorvel::goToServer);
    connect(ui->playerNameToFind, &QLineEdit::textChanged, &controller, &Zorvel::reloadServerTable);
    connect(ui->playerNameToFind, &QLineEdit::textChanged, &controller, &Zorvel::playerAlertChanged);
    connect(ui->alertOnPlayerButton, &QCheckBox::toggled, &controller, &Zorvel::playerAlertChanged);
    connect(ui->AWEButton, &QCheckBox::toggled, &controller, &Zorvel::addRemoveAWEGametypes);
    connect(ui->createGameRotationButton, &QPushButton::clicked, &controller, &Zorvel::createGameRotation);
    const QList<std::pair<QPushButton*, void (ServerConsole::*)()>> consoleButtons = {
        {ui->restartButton, &ServerConsole::restart},
        {ui->nextMapButton, &ServerConsole::nextMap},
        {ui->changeMapButton, &ServerConsole::changeMap},
        {ui->sayButton, &ServerConsole::rconSay},
        {ui->rconButton, &ServerConsole::rconCommand},
        {ui->kickButton, &ServerConsole::kickPlayer},
        {ui->kickAllButton, &ServerConsole::kickAllPlayer},
        {ui->banButton, &ServerConsole::banPlayer},
        {ui->setNewServerPasswordButton, &ServerConsole::setNewServerPassword},
        {ui->execButton, &ServerConsole::execCfg},
    };
    for (const auto& [button, operation] : consoleButtons)
        connect(button, &QPushButton::clicked, &controller.console(), operation);
    connect(ui->sayField, &QLineEdit::returnPressed, &controller.console(), &ServerConsole::rconSay);
    connect(ui->rconField, &QLineEdit::returnPressed, &controller.console(), &ServerConsole::rconCommand);
}

// The drawer's controls scroll rather than making the window grow: opened, the
// drawer takes its width from the window when the favourites can spare it, and the
// window can be made as short as the user likes. The console stays in view under
// them and takes the height they leave. The line between the favourites and the
// drawer, which widens the drawer when dragged, is drawn.
void MainWindow::setUpDrawer()
{
    QWidget* controls = ui->rconDrawer->widget();
    controls->layout()->removeWidget(ui->sayAndRconBox);
    auto* drawer = new QWidget(ui->rconDrawer);
    auto* layout = new QVBoxLayout(drawer);
    const QMargins margins = controls->layout()->contentsMargins();
    layout->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
    auto* scroll = new FittingScrollArea(controls);
    scroll->setObjectName(QStringLiteral("rconDrawerControls"));
    layout->addWidget(scroll);
    layout->addWidget(ui->sayAndRconBox, 1);
    ui->rconDrawer->setWidget(drawer);
    setStyleSheet(QStringLiteral("QMainWindow::separator { background: palette(mid); width: 3px; height: 3px; }"));
}

void MainWindow::setUpConsole()
{
    ui->consoleView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Long lines wrap. The view is moved to the end after each answer: Qt follows an
    // append only while the last line shows.
    connect(&controller.console(), &ServerConsole::commandAnswered, ui->consoleView, [this](const QString& answer) {
        ui->consoleView->appendPlainText(answer);
        QScrollBar& scroll = *ui->consoleView->verticalScrollBar();
        scroll.setValue(scroll.maximum());
    });
}

// The outcome of the last action on the left, covered while a menu command's status
// tip shows; the scans' progress on the right.
void MainWindow::setUpStatusBar()
{
    // A long outcome is cut rather than widening the window.
    ui->actionOutcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(ui->actionOutcome, 1);
    statusBar()->addPermanentWidget(ui->serversRefreshIndicator);
    for (const GameDescription& game : GameCatalogue::standard().games()) {
        auto* progress = new QLabel(this);
        progress->setObjectName(QStringLiteral("scanProgress-") + game.id);
        progress->setTextFormat(Qt::PlainText);
        statusBar()->addPermanentWidget(progress);
    }
}

void MainWindow::showOutcome(const QString& message)
{
    ui->actionOutcome->setText(message);
    ui->actionOutcome->setToolTip(PlainText::toolTip(message));
}

void MainWindow::comeToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    qInfo().noquote() << "A later start of Zorvel on this settings folder brought this window to the front";
}

void MainWindow::setUpSheets()
{
    newModifySheet = new NewModifyWindow(this);
    const Ui::NewModifyWindow& newModify = newModifySheet->controls();
    connect(newModify.okButton, &QPushButton::clicked, &controller, &Zorvel::okNewModifyWindow);
    connect(newModify.cancelButton, &QPushButton::clicked, &controller, &Zorvel::cancelNewModifyWindow);
    connect(newModifySheet, &QDialog::finished, &controller,
            [this](int result) { controller.newModifySheetDidEnd(result, newModifySheet->mode()); });

    infoSheet = new InfoWindow(controller.history(), this);
    connect(infoSheet->controls().closeButton, &QPushButton::clicked, &controller, &Zorvel::closeInfoWindow);

    passwordSheet = new PasswordWindow(this);
    connect(passwordSheet->controls().okButton, &QPushButton::clicked, &controller, &Zorvel::okPasswordWindow);
    connect(passwordSheet->controls().cancelButton, &QPushButton::clicked, &controller,
            &Zorvel::cancelPasswordWindow);
}

void MainWindow::reloadTables()
{
    favoritesModel->reloadData();
    const QScopedValueRollback guard(reloadingPlayers, true);
    playersModel->reloadData();
    ui->tableViewPlayers->setColumnHidden(teamColumn, !playersModel->anyPlayerHasTeam());
    selectOnlyRow(*ui->tableViewPlayers, controller.console().chosenPlayerRow());
}

void MainWindow::selectFavouriteRow(int row)
{
    selectOnlyRow(*ui->tableViewServers, row);
}

void MainWindow::selectOnlyRow(QTableView& table, int row)
{
    // Without a current row the table does not select a neighbour of a removed row;
    // the current row goes first, as dropping the selection redraws the window.
    if (row < 0) {
        table.selectionModel()->clearCurrentIndex();
        table.selectionModel()->clearSelection();
    } else {
        table.selectRow(row);
    }
}

void MainWindow::updateMenuItems()
{
    for (QAction* action : std::as_const(menuCommands))
        action->setEnabled(controller.validateMenuItem(*action));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The window stays, and in sight, until the user answered the quit prompt.
    if (!controller.applicationShouldTerminate()) {
        event->ignore();
        return;
    }
    controller.windowWillClose();
    QMainWindow::closeEvent(event);
}
