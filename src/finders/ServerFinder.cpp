#include "finders/ServerFinder.h"

#include "finders/ColumnOrder.h"
#include "finders/FinderHost.h"
#include "finders/ServerFinderTableModel.h"
#include "model/GameCatalogue.h"
#include "platform/Alerts.h"
#include "platform/ClosingKeys.h"
#include "platform/ColumnFit.h"
#include "platform/CountText.h"
#include "platform/PlainText.h"
#include "platform/PlainTextTip.h"
#include "platform/TextValue.h"
#include "platform/WindowMemory.h"

#include "ui_ServerFinder.h"

#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>

#include <tuple>

namespace {

// The column that takes the width the others leave.
constexpr int nameColumn = 2;

const QList<RecordTableModel::Column>& tableColumns()
{
    static const QList<RecordTableModel::Column> columns = {
        {QStringLiteral("serverPassActive"), QStringLiteral("Pass")},
        {QStringLiteral("serverPunkBuster"), QStringLiteral("PB")},
        {QStringLiteral("serverName"), QStringLiteral("Name")},
        {QStringLiteral("serverIp"), QStringLiteral("Address")},
        {QStringLiteral("ping"), QStringLiteral("Ping")},
        {QStringLiteral("players"), QStringLiteral("Players")},
        {QStringLiteral("serverMapName"), QStringLiteral("Map")},
        {QStringLiteral("serverGametype"), QStringLiteral("Gametype")},
        {QStringLiteral("serverFriendlyFire"), QStringLiteral("Friendly fire")},
        {QStringLiteral("serverKillCam"), QStringLiteral("Kill cam")},
        {QStringLiteral("serverPure"), QStringLiteral("Pure")},
        {QStringLiteral("serverShortVersion"), QStringLiteral("Version")},
    };
    return columns;
}

const QStringList minPlayersEntries = {
    QStringLiteral("no limit"),   QStringLiteral("2 Players"),  QStringLiteral("5 Players"),
    QStringLiteral("10 Players"), QStringLiteral("20 Players"), QStringLiteral("30 Players"),
    QStringLiteral("50 Players"),
};

// The map or gametype a box asks for: its entry or the text typed in it; an empty
// box asks for nothing in particular.
QString choiceOf(const QComboBox& box)
{
    const QString text = box.currentText();
    return text.isEmpty() ? ServerFilter::all : text;
}

void fillBox(QComboBox& box, const QStringList& entries, const QString& wanted)
{
    box.clear();
    box.addItems(entries);
    box.setCurrentIndex(std::max(0, int(entries.indexOf(wanted))));
}

// Adds the text to the box's entries unless it is empty or already one of them; the
// entry shown stays.
void offerChoice(QComboBox& box, const QString& text)
{
    const QSignalBlocker signalsOfBox(box);
    if (!text.isEmpty() && box.findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        box.addItem(text);
}

QString serversText(qsizetype count)
{
    return CountText::of(count, QStringLiteral("server"), QStringLiteral("servers"));
}

}  // namespace

ServerFinder::ServerFinder(FinderHost& controller, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , controller(controller)
    , ui(std::make_unique<Ui::ServerFinder>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
    WindowMemory::attach(*this, QStringLiteral("ServerFinder"));
    ClosingKeys::attach(*this);
    gameControls = GameRows::addTo(*ui->gamesLayout, GameRows::Title::ChoiceButton);
    addLocalNetworkRow();
    const qsizetype rows = gameControls.size() + 1;
    gameServers.resize(rows);
    gameChoices.resize(rows);
    foundServers.resize(std::size_t(rows));
    gatheredServers.resize(std::size_t(rows));
    gameMatrix = new QButtonGroup(this);
    for (int tag = 0; tag < int(gameControls.size()); ++tag)
        gameMatrix->addButton(gameControls.at(tag).choice, tag);
    gameMatrix->addButton(localNetworkRow.choice, localNetwork());
    keepFetchButtonsInPlace();
    setUpTable();
    windowDidLoad();
    connectControls();
    setUpContextMenu();
}

// A right click on a server selects it and offers to join it, with or without a
// join password; the entries are enabled as the Join button is.
void ServerFinder::setUpContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("serverFinderContextMenu"));
    const QList<std::tuple<QString, QString, void (ServerFinder::*)()>> entries = {
        {QStringLiteral("joinServer"), tr("&Join"), &ServerFinder::joinServer},
        {QStringLiteral("joinServerWithPassword"), tr("Join with &password…"), &ServerFinder::joinServerWithPassword},
    };
    for (const auto& [name, text, operation] : entries) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, operation);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            action->setEnabled(ui->joinServerButton->isEnabled());
    });
    QTableView& table = *ui->serverTable;
    table.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&table, &QWidget::customContextMenuRequested, menu,
            [menu, &table](const QPoint& at) { menu->popup(table.viewport()->mapToGlobal(at)); });
}

ServerFinder::~ServerFinder()
{
    // The table's model reads lists that are gone before the window's children are
    // hidden and deleted: the table lets go of it first.
    ui->serverTable->setModel(nullptr);
}

// The counts grow and the filters give way to the scans' progress while a fetch
// runs: the counts' column is as wide as the largest count from the start, and the
// box of the games keeps its width, so that a click aimed at Stop does not miss.
void ServerFinder::keepFetchButtonsInPlace()
{
    for (const GameRow& game : allRows())
        game.count->setMinimumWidth(game.count->fontMetrics().horizontalAdvance(serversText(88888)));
}

void ServerFinder::addLocalNetworkRow()
{
    auto* choice = new QRadioButton(tr("Local network"), this);
    choice->setObjectName(QStringLiteral("localNetworkButton"));
    auto* count = new QLabel(this);
    auto* find = new QPushButton(tr("Find"), this);
    find->setObjectName(QStringLiteral("localNetworkFindButton"));
    find->setToolTip(tr("Asks the local network for its game servers on each game's default ports"));
    auto* stop = new QPushButton(tr("Stop"), this);
    stop->hide();
    const int row = ui->gamesLayout->rowCount();
    ui->gamesLayout->addWidget(choice, row, 0);
    ui->gamesLayout->addWidget(count, row, 1);
    ui->gamesLayout->addWidget(find, row, 2);
    localNetworkRow = {choice, count, find, stop};
    connect(find, &QPushButton::clicked, this, [this] { controller.findLanServers(); });
}

void ServerFinder::showLocalNetwork(const QList<CodServerPtr>& servers)
{
    gameServers[localNetwork()] = servers;
    localNetworkRow.choice->setChecked(true);
    showCounts();
    updateServers();
}

void ServerFinder::windowDidLoad()
{
    ui->minPlayersPopUp->clear();
    ui->minPlayersPopUp->addItems(minPlayersEntries);
    ui->minPlayersPopUp->setCurrentIndex(0);
    updateServers();
}

void ServerFinder::setUpTable()
{
    tableModel = new ServerFinderTableModel(shown, tableColumns(),
                                            {controller.passwordImage(), controller.punkbusterImage()}, this);
    ui->serverTable->setModel(tableModel);
    ColumnFit::fitToFirstRows(*ui->serverTable, nameColumn);
}

void ServerFinder::connectControls()
{
    for (int tag = 0; tag < int(gameControls.size()); ++tag) {
        const GameRow& game = gameControls.at(tag);
        connect(game.fetch, &QPushButton::clicked, this, [this, tag] { refreshMaster(tag); });
        connect(game.stop, &QPushButton::clicked, this, [this, tag] { stopRefreshMaster(tag); });
    }
    connect(gameMatrix, &QButtonGroup::idClicked, this, &ServerFinder::gameChanged);
    connect(ui->serverNameToFind, &QLineEdit::textChanged, this, &ServerFinder::applyFilters);
    for (QCheckBox* box : {ui->emptySearchButton, ui->fullSearchButton, ui->passwordSearchButton, ui->pbSearchButton})
        connect(box, &QCheckBox::toggled, this, &ServerFinder::applyFilters);
    connect(ui->minPlayersPopUp, &QComboBox::currentIndexChanged, this, &ServerFinder::applyFilters);
    for (QComboBox* box : {ui->mapSearchBox, ui->gametypeSearchBox, ui->pingSearchBox})
        connect(box, &QComboBox::currentTextChanged, this, &ServerFinder::applyFilters);
    connect(ui->joinServerButton, &QPushButton::clicked, this, &ServerFinder::joinServer);
    connect(ui->addServerButton, &QPushButton::clicked, this, &ServerFinder::addServerToMyList);
    connect(ui->updateServerButton, &QPushButton::clicked, this, &ServerFinder::updateServer);
    connect(ui->serverTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ServerFinder::updateUI);
    ColumnOrder::orderOnTitleClicks(*ui->serverTable, [this] { tableViewSortDescriptorsDidChange(); });
}

void ServerFinder::getTheServersArray(const FinderHost::MasterLists& lists)
{
    // The local network's list is not the masters': it stays.
    for (qsizetype game = 0; game < gameControls.size(); ++game)
        gameServers[game] = lists.value(game);
    takeInLists();
    showCounts();
    if (controller.anyMasterIsRefreshing())
        updateUI();
    else
        updateServers();
}

// The map and gametype chosen stay when the new lists still hold them, as the other
// filters do: a rescan does not undo the user's choice.
void ServerFinder::updateServers()
{
    // The rows shown are places in the lists built anew here: the selected server is
    // read before they go.
    const CodServerPtr selected = selectedServer();
    shown.forget();
    takeInLists();
    for (std::size_t game = 0; game < gatheredServers.size(); ++game) {
        gameChoices[qsizetype(game)] = gatheredServers[game].choices();
        foundServers[game] = gatheredServers[game].servers();
    }
    fillChoiceBoxes(ui->mapSearchBox->currentText(), ui->gametypeSearchBox->currentText());
    filterKeepingSelected(selected);
}

// The servers handed over while a scan runs are taken in at once, a few at every
// hand-over, though the table shows them only once the scans are over.
void ServerFinder::takeInLists()
{
    for (qsizetype game = 0; game < gameServers.size(); ++game)
        gatheredServers[std::size_t(game)].takeIn(gameServers.at(game));
}

void ServerFinder::applyFilters()
{
    filterKeepingSelected(selectedServer());
}

// The game's servers are kept in the table's order, so that the servers that pass
// come out in it; a filter that narrows the last one looks only at the servers shown.
void ServerFinder::filterKeepingSelected(const CodServerPtr& selected)
{
    const int game = selectedGame();
    if (game < 0) {
        shown.forget();
    } else {
        FoundServers& servers = foundServers[std::size_t(game)];
        servers.keepIn(ColumnOrder::chosen(*ui->serverTable));
        shown.show(servers, filterOfControls());
    }
    tableModel->reloadData();
    selectServer(selected);
    updateUI();
}

void ServerFinder::gameChanged()
{
    fillChoiceBoxes(ui->mapSearchBox->currentText(), ui->gametypeSearchBox->currentText());
    applyFilters();
}

void ServerFinder::updateUI()
{
    ui->numberOfServerFound->setText(serversText(shown.size()));
    const bool scanning = controller.anyMasterIsRefreshing();
    for (const GameRow& game : allRows()) {
        game.fetch->setEnabled(!scanning);
        game.choice->setEnabled(!scanning);
    }
    const bool serverSelected = !scanning && selectedServer();
    for (QPushButton* button : {ui->joinServerButton, ui->addServerButton, ui->updateServerButton})
        button->setEnabled(serverSelected);
    ui->scansProgress->setText(scansProgressText());
    // The filters and the scans' progress take turns in one place. What goes is
    // hidden before what comes is shown: for a moment both would need their width,
    // and the window would widen to hold them and stay so.
    const QList<QWidget*> progress = {ui->updateInProgress, ui->scansProgress};
    for (QWidget* going : scanning ? QList<QWidget*>{ui->filtersBox} : progress)
        going->hide();
    for (QWidget* coming : scanning ? progress : QList<QWidget*>{ui->filtersBox})
        coming->show();
}

void ServerFinder::selectLatestGame()
{
    const auto hasServers = [this](int tag) { return !gameServers.at(tag).isEmpty(); };
    const std::optional<int> latest = controller.lastFetchedGame();
    int game = -1;
    if (latest && (hasServers(*latest) || controller.scanProgress(*latest).running))
        game = *latest;
    for (int tag = 0; game < 0 && tag < int(gameServers.size()); ++tag) {
        if (hasServers(tag))
            game = tag;
    }
    if (game < 0 || game == selectedGame())
        return;
    gameControls.at(game).choice->setChecked(true);
    gameChanged();
}

void ServerFinder::refreshMaster(int tag)
{
    controller.scanServers(tag);
}

void ServerFinder::stopRefreshMaster(int tag)
{
    controller.scanServersStop(tag);
}

void ServerFinder::joinServer()
{
    if (const CodServerPtr server = selectedServer())
        controller.joinServer(server, *this, false);
}

void ServerFinder::joinServerWithPassword()
{
    if (const CodServerPtr server = selectedServer())
        controller.joinServer(server, *this, true);
}

void ServerFinder::addServerToMyList()
{
    if (const CodServerPtr server = selectedServer())
        controller.addServer(server->serverIp(), server->serverName(), QString());
}

void ServerFinder::updateServer()
{
    const CodServerPtr server = selectedServer();
    if (!server)
        return;
    requeries.queue([this, server]() -> WorkerQueue::Then {
        server->serverRefresh();
        return [this, server] { serverRequeried(server); };
    });
}

void ServerFinder::serverRequeried(const CodServerPtr& server)
{
    if (server->commError() == CodServer::Answered) {
        controller.history().record(ServerAnswer::of(*server, ServerAnswer::Source::Finder));
        if (selectedGame() >= 0) {
            foundServers[size_t(selectedGame())].refresh(server);
            gatheredServers[size_t(selectedGame())].refresh(server);
        }
        tableModel->reloadData();
        offerChoice(*ui->gametypeSearchBox, server->serverGametype());
        offerChoice(*ui->mapSearchBox, server->serverMapName());
    } else {
        Alerts::current().runAlert(QStringLiteral("Server refresh problem"),
                                   QStringLiteral("The server must be removed from the list"), QStringLiteral("Argh"));
        removeServer(server);
        updateServers();
    }
    updateUI();
}

void ServerFinder::tableViewSortDescriptorsDidChange()
{
    applyFilters();
}

int ServerFinder::selectedGame() const
{
    return gameMatrix->checkedId();
}

ServerFilter ServerFinder::filterOfControls() const
{
    ServerFilter filter;
    filter.name = ui->serverNameToFind->text();
    filter.showEmpty = ui->emptySearchButton->isChecked();
    filter.showFull = ui->fullSearchButton->isChecked();
    filter.hidePassword = ui->passwordSearchButton->isChecked();
    filter.onlyPunkBuster = ui->pbSearchButton->isChecked();
    filter.map = choiceOf(*ui->mapSearchBox);
    filter.gametype = choiceOf(*ui->gametypeSearchBox);
    filter.pingLimit = TextValue::integerValue(ui->pingSearchBox->currentText());
    filter.minPlayers = TextValue::integerValue(ui->minPlayersPopUp->currentText());
    return filter;
}

void ServerFinder::fillChoiceBoxes(const QString& map, const QString& gametype)
{
    const QSignalBlocker mapSignals(ui->mapSearchBox);
    const QSignalBlocker gametypeSignals(ui->gametypeSearchBox);
    const int game = selectedGame();
    const GameChoices choices = game < 0 ? GameChoices() : gameChoices.at(game);
    fillBox(*ui->mapSearchBox, choices.maps(), map);
    fillBox(*ui->gametypeSearchBox, choices.gametypes(), gametype);
}

QString ServerFinder::scansProgressText() const
{
    QStringList lines;
    const QList<GameDescription>& games = GameCatalogue::standard().games();
    for (int tag = 0; tag < int(gameControls.size()); ++tag) {
        const ScanProgress progress = controller.scanProgress(tag);
        if (progress.running)
            lines.append(progress.text(games.at(tag).name));
    }
    return lines.join(u'\n');
}

void ServerFinder::showCounts()
{
    for (qsizetype game = 0; game < gameControls.size(); ++game) {
        gameControls.at(game).count->setText(serversText(gameServers.at(game).size()));
        showMastersTip(gameControls.at(game), controller.scanProgress(int(game)));
    }
    localNetworkRow.count->setText(serversText(gameServers.at(localNetwork()).size()));
}

// The masters' names come from the settings: the tip shows them as typed.
void ServerFinder::showMastersTip(const GameRow& game, const ScanProgress& progress)
{
    const QString tip = PlainTextTip::of(progress.mastersTip());
    game.choice->setToolTip(tip);
    game.count->setToolTip(tip);
}

CodServerPtr ServerFinder::selectedServer() const
{
    const QModelIndexList rows = ui->serverTable->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= shown.size())
        return nullptr;
    return shown.at(rows.first().row());
}

void ServerFinder::selectServer(const CodServerPtr& server)
{
    const qsizetype row = shown.rowOf(server);
    if (row < 0)
        ui->serverTable->clearSelection();
    else
        ui->serverTable->selectRow(int(row));
}

void ServerFinder::removeServer(const CodServerPtr& server)
{
    const int game = selectedGame();
    if (game >= 0)
        gameServers[game].removeOne(server);
    showCounts();
}
