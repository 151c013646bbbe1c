#include "finders/PlayerFinder.h"

#include "finders/ColumnOrder.h"
#include "finders/FavoritePlayers.h"
#include "finders/FinderHost.h"
#include "finders/LastSeenTable.h"
#include "finders/PlayerColumns.h"
#include "finders/PlayerFinderTableModel.h"
#include "platform/ClosingKeys.h"
#include "platform/ColumnFit.h"
#include "platform/CountText.h"
#include "platform/EditableComboBox.h"
#include "platform/PlainText.h"
#include "platform/WindowMemory.h"

#include "ui_PlayerFinder.h"

#include <QLineEdit>

#include <algorithm>

namespace {

// The column that takes the width the others leave: the server's name.
constexpr int serverNameColumn = 3;

}  // namespace

PlayerFinder::PlayerFinder(FinderHost& controller, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , controller(controller)
    , ui(std::make_unique<Ui::PlayerFinder>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
    WindowMemory::attach(*this, QStringLiteral("PlayerFinder"));
    ClosingKeys::attach(*this);
    EditableComboBox::keepTypedText(*ui->playerToFindBox);
    gameControls = GameRows::addTo(*ui->gamesLayout, GameRows::Title::Label);
    setUpTable();
    windowDidLoad();
    connectControls();
}

PlayerFinder::~PlayerFinder()
{
    // The table's model reads lists that are gone before the window's children are
    // hidden and deleted: the table lets go of it first.
    ui->tableOfPlayers->setModel(nullptr);
}

void PlayerFinder::windowDidLoad()
{
    ui->playerToFindBox->addItems(FavoritePlayers::stored());
    ui->playerToFindBox->setCurrentIndex(-1);
    updateUI();
}

void PlayerFinder::setUpTable()
{
    tableModel = new PlayerFinderTableModel(controller, m_thePlayersFound,
                                            {{QStringLiteral("gameImage"), QString()},
                                             {QStringLiteral("playerName"), QStringLiteral("Player")},
                                             {QStringLiteral("playerScore"), QStringLiteral("Score")},
                                             {QStringLiteral("serverName"), QStringLiteral("Server")},
                                             {QStringLiteral("serverIP"), QStringLiteral("Address")},
                                             {QStringLiteral("serverPing"), QStringLiteral("Ping")},
                                             {QStringLiteral("lastUpdate"), QStringLiteral("Last answer")}},
                                            this);
    ui->tableOfPlayers->setModel(tableModel);
    ColumnFit::fitToFirstRows(*ui->tableOfPlayers, serverNameColumn);
}

void PlayerFinder::connectControls()
{
    for (int tag = 0; tag < int(gameControls.size()); ++tag) {
        const GameRow& game = gameControls.at(tag);
        connect(game.fetch, &QPushButton::clicked, this, [this, tag] { refreshMaster(tag); });
        connect(game.stop, &QPushButton::clicked, this, [this, tag] { stopRefreshMaster(tag); });
    }
    connect(ui->startButton, &QPushButton::clicked, this, &PlayerFinder::startSearch);
    // Enter in the name box is a press of Search: the button goes on, the search runs.
    connect(ui->playerToFindBox->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        ui->startButton->setChecked(true);
        startSearch();
    });
    connect(ui->lastSeenButton, &QPushButton::clicked, this, &PlayerFinder::lastSeen);
    connect(ui->addNameButton, &QPushButton::clicked, this, &PlayerFinder::addStringInCombo);
    connect(ui->deleteNameButton, &QPushButton::clicked, this, &PlayerFinder::deleteStringInCombo);
    connect(ui->joinPlayerButton, &QPushButton::clicked, this, &PlayerFinder::joinPlayer);
    connect(ui->addServerButton, &QPushButton::clicked, this, &PlayerFinder::addServerToMyList);
    connect(ui->tableOfPlayers->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PlayerFinder::updateUI);
    ColumnOrder::orderOnTitleClicks(*ui->tableOfPlayers, [this] { resultsOrderChanged(); });
}

void PlayerFinder::lastSeen()
{
    const QString text = ui->playerToFindBox->currentText();
    if (text.isEmpty())
        return;
    // A name as common as "a" would fill the table with the whole history.
    constexpr int mostStays = 1000;
    controller.history().lastSightings(text, mostStays, this, [this, text](const QList<Sighting>& sightings) {
        LastSeenTable::show(*ui->lastSeenTable, *ui->lastSeenSummary, text, sightings, mostStays);
        ui->lastSeenBox->show();
    });
}

void PlayerFinder::getTheServersArray(const FinderHost::MasterLists& lists)
{
    gameLists = lists;
    runSearch();
    updateUI();
}

void PlayerFinder::startSearch()
{
    search.forget();
    runSearch();
    updateUI();
}

void PlayerFinder::runSearch()
{
    // A run once no scan runs goes over the whole lists: a server may have been
    // queried again since it was searched. The run that ends a scan does not: no
    // server can be queried again while a scan runs, and the servers searched at its
    // hand-overs are as they were; only those handed over since are searched.
    const bool scanning = controller.anyMasterIsRefreshing();
    if (!scanning && !searchedWhileScanning)
        search.forget();
    searchedWhileScanning = scanning;
    if (!ui->startButton->isChecked()) {
        setSearchingIndicatorAnimating(false);
        followLists();
        return;
    }
    if (scanning)
        setSearchingIndicatorAnimating(true);
    else
        endSearch();
    const QString text = ui->playerToFindBox->currentText();
    const bool noServers =
        std::all_of(gameLists.begin(), gameLists.end(), [](const auto& list) { return list.isEmpty(); });
    if (text.isEmpty() || noServers) {
        endSearch();
        return;
    }
    searchPlayerInArray(text);
}

// A search that is not live shows what it found in the lists of its time: once they
// changed, it runs again over the new ones, as a live one does, so that no row stays
// of a server the lists no longer hold.
void PlayerFinder::followLists()
{
    if (!shownSearch.isEmpty())
        keepingSelection([this] { searchPlayerInArray(shownSearch); });
}

void PlayerFinder::searchPlayerInArray(const QString& text)
{
    m_thePlayersFound.clear();
    tableModel->reloadData();
    m_thePlayersFound = search.resultsFor(text, gameLists);
    shownSearch = text;
    sortResults();
    tableModel->reloadData();
}

void PlayerFinder::resultsOrderChanged()
{
    keepingSelection([this] {
        sortResults();
        tableModel->reloadData();
    });
}

void PlayerFinder::keepingSelection(const std::function<void()>& change)
{
    const PlayerFound* selected = selectedResult();
    const std::optional<PlayerFound> kept = selected ? std::optional(*selected) : std::nullopt;
    change();
    const qsizetype row = kept ? m_thePlayersFound.indexOf(*kept) : -1;
    if (row >= 0)
        ui->tableOfPlayers->selectRow(int(row));
}

void PlayerFinder::sortResults()
{
    if (const std::optional<ColumnOrder::Choice> order = ColumnOrder::chosen(*ui->tableOfPlayers))
        PlayerColumns::sortResults(m_thePlayersFound, order->column, order->order, QDateTime::currentDateTime());
}

void PlayerFinder::updateUI()
{
    const bool scanning = controller.anyMasterIsRefreshing();
    for (const GameRow& game : gameControls)
        game.fetch->setEnabled(!scanning);
    if (scanning)
        ui->tableOfPlayers->clearSelection();
    const bool resultSelected = !ui->startButton->isChecked() && selectedResult();
    ui->joinPlayerButton->setEnabled(resultSelected);
    ui->addServerButton->setEnabled(resultSelected);
    for (qsizetype game = 0; game < gameControls.size(); ++game)
        gameControls.at(game).count->setText(
            CountText::of(gameLists.value(game).size(), QStringLiteral("server"), QStringLiteral("servers")));
    ui->numberOfPlayersFound->setText(
        CountText::of(m_thePlayersFound.size(), QStringLiteral("player found"), QStringLiteral("players found")));
}

void PlayerFinder::addStringInCombo()
{
    const QString text = ui->playerToFindBox->currentText();
    if (text.isEmpty() || ui->playerToFindBox->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        return;
    ui->playerToFindBox->addItem(text);
    storeNames();
}

void PlayerFinder::deleteStringInCombo()
{
    const QString text = ui->playerToFindBox->currentText();
    const int entry = ui->playerToFindBox->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (text.isEmpty() || entry < 0)
        return;
    ui->playerToFindBox->removeItem(entry);
    storeNames();
}

void PlayerFinder::joinPlayer()
{
    if (const PlayerFound* result = selectedResult())
        controller.joinServer(result->thePlayerServer, *this, false);
}

void PlayerFinder::addServerToMyList()
{
    if (const PlayerFound* result = selectedResult())
        controller.addServer(result->thePlayerServer->serverIp(), result->thePlayerServer->serverName(), QString());
}

void PlayerFinder::refreshMaster(int tag)
{
    controller.scanServers(tag);
}

void PlayerFinder::stopRefreshMaster(int tag)
{
    controller.scanServersStop(tag);
}

void PlayerFinder::endSearch()
{
    ui->startButton->setChecked(false);
    setSearchingIndicatorAnimating(false);
}

void PlayerFinder::setSearchingIndicatorAnimating(bool animating)
{
    ui->isSearchingIndicator->setVisible(animating);
}

void PlayerFinder::storeNames() const
{
    QStringList names;
    for (int entry = 0; entry < ui->playerToFindBox->count(); ++entry)
        names.append(ui->playerToFindBox->itemText(entry));
    FavoritePlayers::store(names);
}

const PlayerFound* PlayerFinder::selectedResult() const
{
    const QModelIndexList rows = ui->tableOfPlayers->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= m_thePlayersFound.size())
        return nullptr;
    return &m_thePlayersFound.at(rows.first().row());
}
