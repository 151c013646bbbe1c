// The operations of the application controller that bring the main window up to
// date with the selected favourite: the summary, the server buttons, the
// administration drawer and its lists, and the details sheet.
#include "app/Zorvel.h"

#include "admin/AdministrationPanelState.h"
#include "admin/ServerSummary.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "model/GameCatalogue.h"
#include "platform/PlainTextTip.h"

#include "ui_MainWindow.h"

#include <QScopedValueRollback>

namespace {

// Replaces the items of a combo box. An editable one keeps the text it shows, which
// is the map or gametype the user is about to send, not a pick from the list.
void replaceItems(QComboBox& combo, const QStringList& items)
{
    const QString shown = combo.currentText();
    combo.clear();
    combo.addItems(items);
    if (combo.isEditable())
        combo.setEditText(shown);
}

void emptyList(QComboBox& combo)
{
    combo.clear();
    combo.setEditText({});
}

}  // namespace

void Zorvel::updateUI()
{
    if (!mainWindow || updatingUI)
        return;
    const QScopedValueRollback guard(updatingUI, true);
    mainWindow->reloadTables();
    updateButtonStatus();
    updateFields();
    mainWindow->updateMenuItems();
}

void Zorvel::updateButtonStatus()
{
    Ui::MainWindow& controls = mainWindow->controls();
    if (!m_refreshAllInProgress)
        controls.refreshAllServersButton->setEnabled(m_myServers.count() > 0);
    const CodServerPtr selected = m_myServers.serverAt(selectedFavouriteRow());
    if (selected)
        m_currentServer = selected;
    const AdministrationPanelState state =
        selected ? AdministrationPanelState(*selected, isGameInstalled(*selected)) : AdministrationPanelState();
    controls.modifyServerButton->setEnabled(state.editButtonsEnabled);
    controls.deleteServerButton->setEnabled(state.editButtonsEnabled);
    controls.refreshServerButton->setEnabled(state.editButtonsEnabled);
    controls.infoServerButton->setEnabled(state.infoEnabled);
    controls.goToServerButton->setEnabled(state.goToEnabled);
    controls.goToServerButton->setToolTip(state.goToEnabled ? mainWindow->joinButtonTip()
                                                            : PlainTextTip::of(state.goToUnavailableReason));
    if (!state.drawerOpen) {
        controls.rconDrawer->hide();
        return;
    }
    const QList<QWidget*> banControls = {controls.banButton, controls.banOneMinuteButton, controls.banTenMinutesButton,
                                         controls.banThirtyMinutesButton, controls.banForeverButton};
    for (QWidget* banControl : banControls)
        banControl->setVisible(state.banOffered);
    updateExecComboBox(selected);
    updateMapListComboBox(selected);
    controls.execComboBox->setCurrentIndex(-1);
    if (state.showsMapAndGametype) {
        controls.mapListComboBox->setEditText(selected->serverMapName());
        controls.gametypeListComboBox->setEditText(selected->serverGametype());
        replaceItems(*controls.gametypeListComboBox, gameTypeArrayFor(*selected, controls.AWEButton->isChecked()));
    } else {
        emptyList(*controls.mapListComboBox);
        emptyList(*controls.gametypeListComboBox);
    }
    controls.rconDrawer->show();
}

QStringList Zorvel::gameTypeArrayFor(const CodServer& server, bool withAWE) const
{
    QStringList gametypes;
    if (const GameDescription* game = GameCatalogue::standard().gameOf(server.serverGameName(), server.serverRules())) {
        for (const GametypeName& gametype : game->gametypes)
            gametypes.append(gametype.id);
    }
    const GameKind kind = gameKindOf(server.serverGameName());
    const bool runsAWE = kind == GameKind::CoD || kind == GameKind::UO || kind == GameKind::CoD2;
    return withAWE && runsAWE ? gametypes + m_AWEGameTypeArray : gametypes;
}

void Zorvel::updateFields()
{
    Ui::MainWindow& controls = mainWindow->controls();
    const CodServerPtr selected = m_myServers.serverAt(selectedFavouriteRow());
    if (selected)
        m_currentServer = selected;
    const ServerSummary summary = selected ? ServerSummary(*selected) : ServerSummary();
    controls.numberOfPlayers->setText(summary.numberOfPlayers);
    controls.currentMap->setText(summary.currentMap);
    controls.currentGameType->setText(summary.currentGameType);
    controls.currentPing->setText(summary.currentPing);
    // Without a status line the box keeps a blank title, and with it the height of a
    // titled box: the favourites' buttons above stay where they are when one appears.
    controls.lastUpdateBox->setTitle(summary.statusLine.isEmpty() ? QStringLiteral(" ") : summary.statusLine);
    const bool icons = summary.showsIcons;
    controls.viewGameType->setPixmap(icons && selected ? gameImageOf(*selected) : QPixmap());
    controls.viewPunkbuster->setPixmap(icons && summary.punkbuster ? m_punkbusterImage : QPixmap());
    controls.viewPassword->setPixmap(icons && summary.password ? m_passwordImage : QPixmap());
}

void Zorvel::updateExecComboBox(const CodServerPtr& server)
{
    if (mainWindow && server)
        replaceItems(*mainWindow->controls().execComboBox, server->cfgList());
}

void Zorvel::updateMapListComboBox(const CodServerPtr& server)
{
    if (mainWindow && server && server == m_currentServer)
        replaceItems(*mainWindow->controls().mapListComboBox, server->mapList());
}

void Zorvel::reloadServerTable()
{
    watches.serversChanged();
    if (!mainWindow)
        return;
    mainWindow->reloadTables();
    alertOnPlayerName();
}

void Zorvel::infoOnServer()
{
    if (!mainWindow || !m_currentServer)
        return;
    InfoWindow& sheet = mainWindow->infoWindow();
    sheet.showDetailsOf(*m_currentServer);
    sheet.open();
}

void Zorvel::closeInfoWindow()
{
    if (mainWindow)
        mainWindow->infoWindow().done(QDialog::Rejected);
}

void Zorvel::addRemoveAWEGametypes()
{
    QComboBox& gametypes = *mainWindow->controls().gametypeListComboBox;
    const QString shown = gametypes.currentText();
    if (mainWindow->controls().AWEButton->isChecked()) {
        gametypes.addItems(m_AWEGameTypeArray);
    } else {
        for (const QString& gametype : m_AWEGameTypeArray) {
            for (int item = gametypes.findText(gametype); item >= 0; item = gametypes.findText(gametype))
                gametypes.removeItem(item);
        }
    }
    gametypes.setEditText(shown);
}
