#include "admin/GameRotation.h"

#include "admin/AvailableMapsModel.h"
#include "admin/GametypePopUpCell.h"
#include "admin/RotationCommand.h"
#include "admin/RotationMapsModel.h"
#include "net/ListingFilter.h"
#include "net/QuakeProtocol.h"
#include "platform/Alerts.h"
#include "platform/ClosingKeys.h"
#include "platform/EditableComboBox.h"
#include "platform/PlainText.h"
#include "platform/Preferences.h"
#include "platform/WindowMemory.h"

#include "ui_GameRotation.h"

#include <chrono>
#include <cmath>

namespace {

// The selected row of a single-selection table, or -1.
int selectedRow(const QTableView& table)
{
    const QModelIndexList rows = table.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

}  // namespace

GameRotation::GameRotation(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::GameRotation>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
    WindowMemory::attach(*this, QStringLiteral("GameRotation"));
    // Escape closes the window as Cancel does; nothing is sent.
    ClosingKeys::attach(*this);
    EditableComboBox::keepTypedText(*ui->configComboBox);
    setUpTables();
    connectActions();
    showConfigNames();
}

GameRotation::~GameRotation() = default;

void GameRotation::setUpTables()
{
    availableMapsModel = new AvailableMapsModel([this] { return serverMaps(); },
                                                [this] { return ui->gametypePopUp->currentText(); }, this);
    rotationMapsModel = new RotationMapsModel([this] { return serverMaps(); },
                                              [this] { return availableGametypes; }, this);
    gametypePopUpCell = new GametypePopUpCell(this);
    ui->tableAvailableMaps->setModel(availableMapsModel);
    ui->tableRotationMaps->setModel(rotationMapsModel);
    ui->tableRotationMaps->setItemDelegateForColumn(RotationMapsModel::gametypeColumn, gametypePopUpCell);
    ui->tableAvailableMaps->setAcceptDrops(false);
    ui->tableRotationMaps->setDragSources({ui->tableRotationMaps, ui->tableAvailableMaps});
    connect(rotationMapsModel, &RotationMapsModel::rotationDropped, this, &GameRotation::updateUI);
}

void GameRotation::connectActions()
{
    connect(ui->tableAvailableMaps, &QTableView::doubleClicked, this, &GameRotation::addMap);
    connect(ui->tableRotationMaps, &QTableView::doubleClicked, this, &GameRotation::removeMap);
    const QList<std::pair<QPushButton*, void (GameRotation::*)()>> buttons = {
        {ui->addMapButton, &GameRotation::addMap},
        {ui->removeMapButton, &GameRotation::removeMap},
        {ui->removeAllMapsButton, &GameRotation::removeAllMaps},
        {ui->clearMapsButton, &GameRotation::clearMaps},
        {ui->changeAllGametypesButton, &GameRotation::changeAllGametypes},
        {ui->createGameRotationButton, &GameRotation::createGameRotation},
        {ui->cancelGameRotationButton, &GameRotation::cancelGameRotation},
        {ui->saveConfigsButton, &GameRotation::saveConfig},
        {ui->recallConfigButton, &GameRotation::recallConfig},
        {ui->deleteConfigButton, &GameRotation::deleteConfig},
    };
    for (const auto& [button, action] : buttons)
        connect(button, &QPushButton::clicked, this, action);
    connect(ui->configComboBox, &QComboBox::currentTextChanged, this, &GameRotation::updateConfigButtons);
}

void GameRotation::setTheServer(const CodServerPtr& server)
{
    theServer = server;
}

void GameRotation::setAvailableGametypes(const QStringList& gametypes)
{
    availableGametypes = gametypes;
}

const QList<MapForRotation>& GameRotation::theMapsForRotation() const
{
    return rotationMapsModel->theMapsForRotation();
}

QList<MapForRotation>& GameRotation::rotation()
{
    return rotationMapsModel->theMapsForRotation();
}

QStringList GameRotation::serverMaps() const
{
    return theServer ? theServer->mapList() : QStringList();
}

void GameRotation::prepareUI()
{
    rotation().clear();
    availableMapsModel->reloadData();
    ui->gametypePopUp->clear();
    ui->gametypePopUp->addItems(availableGametypes);
    gametypePopUpCell->setItems(availableGametypes);
    updateUI();
}

void GameRotation::updateUI()
{
    rotationMapsModel->reloadData();
    const bool hasMaps = !serverMaps().isEmpty();
    const bool hasGametypes = !availableGametypes.isEmpty();
    ui->addMapButton->setEnabled(hasMaps);
    const bool hasEntries = !rotation().isEmpty();
    for (QPushButton* button : {ui->removeMapButton, ui->removeAllMapsButton, ui->clearMapsButton,
                                ui->createGameRotationButton, ui->saveConfigsButton})
        button->setEnabled(hasEntries);
    ui->changeAllGametypesButton->setEnabled(hasEntries && hasGametypes);
    showWhyListsAreEmpty(hasMaps, hasGametypes);
    updateConfigButtons();
}

// An empty list of maps or gametypes is no fault of the user's: the window says where
// the list would come from.
void GameRotation::showWhyListsAreEmpty(bool hasMaps, bool hasGametypes)
{
    QStringList reasons;
    const GameKind game = theServer ? gameKindOf(theServer->serverGameName()) : GameKind::Unknown;
    if (!hasMaps) {
        reasons.append(ListingFilter::mapListingOf(game)
                           ? tr("The server has sent no list of its maps: it is asked for at each refresh of "
                                "the server, with its rcon password.")
                           : tr("Zorvel cannot ask servers of this game for their maps."));
    }
    if (!hasGametypes)
        reasons.append(tr("Zorvel knows no gametypes of this game."));
    ui->emptyListsReason->setText(reasons.join(u' '));
    ui->emptyListsReason->setVisible(!reasons.isEmpty());
}

// Recall and Delete act on a saved rotation: the box names one.
void GameRotation::updateConfigButtons()
{
    const bool named = savedConfigs.contains(ui->configComboBox->currentText());
    ui->recallConfigButton->setEnabled(named);
    ui->deleteConfigButton->setEnabled(named);
}

void GameRotation::addMap()
{
    const QStringList maps = serverMaps();
    const int mapRow = selectedRow(*ui->tableAvailableMaps);
    if (mapRow < 0 || mapRow >= maps.size())
        return;
    const MapForRotation entry(maps.at(mapRow), ui->gametypePopUp->currentText());
    const int rotationRow = selectedRow(*ui->tableRotationMaps);
    if (ui->insertOrAddButton->isChecked() && rotationRow >= 0 && rotationRow < rotation().size())
        rotation().insert(rotationRow, entry);
    else
        rotation().append(entry);
    updateUI();
}

void GameRotation::removeMap()
{
    const int row = selectedRow(*ui->tableRotationMaps);
    if (row < 0 || row >= rotation().size()) {
        Alerts::current().beep();
        return;
    }
    rotation().removeAt(row);
    updateUI();
}

void GameRotation::removeAllMaps()
{
    rotation().clear();
    updateUI();
}

void GameRotation::clearMaps()
{
    const QStringList maps = serverMaps();
    rotation().removeIf([&maps](const MapForRotation& entry) { return !entry.isOnServer(maps); });
    updateUI();
}

void GameRotation::changeAllGametypes()
{
    for (MapForRotation& entry : rotation())
        entry.setGametype(ui->gametypePopUp->currentText());
    rotationMapsModel->reloadData();
}

void GameRotation::createGameRotation()
{
    const QString fallbackGametype = ui->gametypePopUp->currentText();
    const QList<MapForRotation> sent =
        RotationCommand::sentEntries(theMapsForRotation(), serverMaps(), availableGametypes, fallbackGametype);
    if (sent.isEmpty()) {
        refuseToSend(tr("None of the maps of this rotation is on the server: nothing was sent."));
        return;
    }
    const QString rotationCommand = RotationCommand::rotationCommand(sent);
    if (QuakeProtocol::rconRequestIsCut(theServer->serverPass(), rotationCommand)) {
        refuseToSend(tr("This rotation is too long to be sent as one command: the server would get it cut. "
                        "Nothing was sent; remove some maps and send it again."));
        return;
    }
    const double latency = Preferences::standard().doubleCommandLatency();
    QList<DelayedCommand> commands = {{RotationCommand::emptyingCommand(), 0}, {rotationCommand, latency}};
    if (ui->map_restartButton->isChecked())
        commands.append({QStringLiteral("map_rotate"), 2 * latency});
    sendInTurn(theServer, commands);
    close();
}

void GameRotation::refuseToSend(const QString& reason)
{
    Alerts::current().runAlert(tr("Game Rotation"), reason, tr("OK"));
}

// The commands go to the server the rotation was sent to, even when the editor has
// been opened for another server in the meantime, on the editor's worker: each is
// queued once the exchange before it ended, to go out after its delay.
void GameRotation::sendInTurn(const CodServerPtr& server, QList<DelayedCommand> commands)
{
    if (commands.isEmpty())
        return;
    const DelayedCommand next = commands.takeFirst();
    const auto delay = std::chrono::microseconds(static_cast<qint64>(std::ceil(next.seconds * 1.0e6)));
    rotationCommands.queueAfter(delay, [this, server, command = next.command, commands]() -> WorkerQueue::Then {
        server->sendCommandToServer(command, QuakeProtocol::RconCommand);
        return [this, server, commands] { sendInTurn(server, commands); };
    });
}

void GameRotation::cancelGameRotation()
{
    close();
}

void GameRotation::saveConfig()
{
    savedConfigs.save(ui->configComboBox->currentText(), theMapsForRotation());
    showConfigNames();
}

void GameRotation::recallConfig()
{
    const QString name = ui->configComboBox->currentText();
    if (!savedConfigs.contains(name))
        return;
    if (const std::optional<QList<MapForRotation>> recalled = savedConfigs.recall(name))
        rotation() = *recalled;
    updateUI();
}

void GameRotation::deleteConfig()
{
    const QString name = ui->configComboBox->currentText();
    if (!savedConfigs.contains(name))
        return;
    const Alerts::Answer answer = Alerts::current().runAlert(
        tr("Game Rotation"), tr("Do you want to delete %1 ?").arg(name), tr("Yes"), tr("No"));
    if (answer != Alerts::DefaultButton)
        return;
    savedConfigs.remove(name);
    showConfigNames();
    ui->configComboBox->setEditText(QString());
    updateUI();
}

void GameRotation::showConfigNames()
{
    QComboBox& combo = *ui->configComboBox;
    const QString text = combo.currentText();
    combo.clear();
    combo.addItems(savedConfigs.names());
    combo.setCurrentIndex(-1);
    combo.setEditText(text);
}
