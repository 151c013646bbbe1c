// The operations of the application controller that refresh the favourites (one on
// the UI thread, all of them on the worker thread, periodically by the timer), the
// player alert that watches them, and joining the selected favourite.
#include "app/Zorvel.h"

#include "app/Alerts.h"
#include "app/MainWindow.h"
#include "app/PasswordWindow.h"
#include "app/Preferences.h"
#include "model/TextValue.h"

#include "ui_MainWindow.h"
#include "ui_PasswordWindow.h"

#include <QGuiApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

const QString ut2004GameName = QStringLiteral("UT2004");

// A favourite's name before and after its refresh. A missing name on either side
// counts as a change, so a favourite added without a name is stored with the one
// its server gives.
bool nameChanged(const QString& before, const QString& after)
{
    return before.isEmpty() || after.isEmpty() || before != after;
}

// The timer's period. The preferences panel stores whole minutes; a period below
// one second, which only a hand-edited store holds, would tick without pause and
// counts as one second, and one beyond the timer's range as the longest it takes.
std::chrono::milliseconds refreshPeriod(int seconds)
{
    constexpr int longestSeconds = INT_MAX / 1000;
    return std::chrono::seconds(std::clamp(seconds, 1, longestSeconds));
}

}  // namespace

void Zorvel::tableViewSelectionDidChange()
{
    if (updatingUI)
        return;
    m_prefRefreshWhenSelected = Preferences::standard().boolForKey(QStringLiteral("Refresh server when selected"));
    m_currentServer = m_myServers.serverAt(selectedFavouriteRow());
    // Without a selection there is nothing to refresh, but the window still drops
    // what it showed of the favourite that was selected.
    if (m_currentServer && (m_prefRefreshWhenSelected || isAdministered(*m_currentServer)))
        refreshServer();
    else
        updateUI();
}

bool Zorvel::isAdministered(const CodServer& server)
{
    return server.serverPassOwner() && server.serverGameName() != ut2004GameName;
}

void Zorvel::refreshServer()
{
    const int row = selectedFavouriteRow();
    if (row < 0)
        return;
    refreshServerAtIndex(row);
    updateUI();
}

bool Zorvel::refreshServerAtIndex(int index)
{
    const CodServerPtr server = m_myServers.serverAt(index);
    if (!server)
        return false;
    const QString nameBefore = server->serverName();
    // While the worker queries this favourite, a refresh from the window would query
    // it a second time at once: the window shows it as it stands, and the worker's
    // run redraws it when the answer is in.
    if (!server->refreshTryingUt2004())
        return true;
    if (nameChanged(nameBefore, server->serverName()))
        m_listOfServersModified = true;
    // On the worker, the table reload it queues after each step runs the alert.
    if (QThread::currentThread() == thread())
        alertOnPlayerName();
    return true;
}

void Zorvel::refreshAllServers()
{
    // Linux has no notion of the application in front, so no game can be in front
    // and hold the run back.
    if (m_refreshAllInProgress || m_myServers.count() == 0)
        return;
    m_refreshAllInProgress = true;
    showRefreshAllRunning(true);
    // The previous run has ended (its end cleared the flag): this joins its thread.
    refreshAllThread = std::jthread([this](std::stop_token stopToken) { refreshServerThread(stopToken); });
}

void Zorvel::refreshServerThread(std::stop_token stopToken)
{
    // Each step takes the favourite at the row and the list's length together, under
    // the list's lock, so the UI thread may add, move or delete favourites meanwhile.
    for (int row = 0; !stopToken.stop_requested() && refreshServerAtIndex(row); ++row)
        QMetaObject::invokeMethod(this, &Zorvel::reloadServerTable, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, &Zorvel::refreshAllDidEnd, Qt::QueuedConnection);
}

void Zorvel::refreshAllDidEnd()
{
    showRefreshAllRunning(false);
    m_refreshAllInProgress = false;
    updateUI();
}

void Zorvel::showRefreshAllRunning(bool running)
{
    if (!mainWindow)
        return;
    mainWindow->controls().refreshAllServersButton->setEnabled(!running);
    mainWindow->controls().travailEnCours->setVisible(running);
}

void Zorvel::stopRefreshAll()
{
    refreshAllThread.request_stop();
    if (refreshAllThread.joinable())
        refreshAllThread.join();
}

void Zorvel::handleRefreshChange(bool autoRefresh, int refreshDelay)
{
    const bool wasOn = m_refreshTimer != nullptr;
    m_refreshTimer.reset();
    if (!autoRefresh)
        return;
    startRefreshTimer(refreshDelay);
    if (!wasOn)
        refreshAllServers();
}

void Zorvel::startRefreshTimer(int seconds)
{
    m_refreshTimer = std::make_unique<QTimer>();
    m_refreshTimer->setInterval(refreshPeriod(seconds));
    connect(m_refreshTimer.get(), &QTimer::timeout, this, &Zorvel::refreshAllServers);
    m_refreshTimer->start();
}

void Zorvel::alertOnPlayerName()
{
    if (!mainWindow)
        return;
    const QString watched = playerNameToFind();
    QCheckBox& armed = *mainWindow->controls().alertOnPlayerButton;
    if (watched.isEmpty() || !armed.isChecked())
        return;
    const QList<CodServerPtr> favourites = m_myServers.servers();
    const bool seen = std::any_of(favourites.cbegin(), favourites.cend(),
                                  [&watched](const CodServerPtr& server) { return server->serverHasPlayer(watched); });
    if (!seen)
        return;
    armed.setChecked(false);
    Alerts::current().runAlert(QStringLiteral("Alert on tag/player"),
                               QStringLiteral("%1 detected on favorite server(s)").arg(watched), QStringLiteral("Ok"));
}

void Zorvel::goToServer()
{
    if (selectedFavouriteRow() < 0 || !m_currentServer)
        return;
    const bool optionHeld = QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
    if (optionHeld || TextValue::integerValue(m_currentServer->serverPassActive()) == 1)
        mainWindow->passwordWindow().openForPassword();
    else
        m_currentServer->joinServerWithPass(QString(), installedGames());
}

void Zorvel::okPasswordWindow()
{
    PasswordWindow& sheet = mainWindow->passwordWindow();
    sheet.accept();
    if (m_currentServer)
        m_currentServer->joinServerWithPass(sheet.controls().pPassword->text(), installedGames());
}

void Zorvel::cancelPasswordWindow()
{
    mainWindow->passwordWindow().reject();
}

InstalledGames Zorvel::installedGames() const
{
    return {m_hasCoD, m_hasUO, m_hasCoD2, m_hasCoD4, m_hasUrbanTerror};
}
