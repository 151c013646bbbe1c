// The operations of the application controller that refresh the favourites (the
// selected one on the window's worker, all of them on the scan engine from the
// refresh-all worker, periodically by the timer), the
// player alert that watches them, and joining the selected favourite.
#include "app/Zorvel.h"

#include "app/FavouritesRefresh.h"
#include "app/MainWindow.h"
#include "app/PasswordWindow.h"
#include "platform/HostResolution.h"
#include "platform/Alerts.h"
#include "platform/CountText.h"
#include "platform/DesktopNotifications.h"
#include "platform/Preferences.h"
#include "platform/TextValue.h"

#include "ui_MainWindow.h"
#include "ui_PasswordWindow.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

const QString ut2004GameName = QStringLiteral("UT2004");

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
    // The window shows the newly selected favourite at once, and again when its
    // refresh is over; without a selection it drops what it showed of the one that
    // was selected.
    updateUI();
    if (m_currentServer && (m_prefRefreshWhenSelected || isAdministered(*m_currentServer)))
        refreshServer();
}

bool Zorvel::isAdministered(const CodServer& server)
{
    return server.serverPassOwner() && server.serverGameName() != ut2004GameName;
}

// The window goes on while the server answers or stays silent; the outcome is told
// when the refresh is over. A request for a favourite whose refresh the window asked
// for already is told at once and queries nothing.
void Zorvel::refreshServer()
{
    const CodServerPtr server = m_myServers.serverAt(selectedFavouriteRow());
    if (!server)
        return;
    if (!singleRefreshesUnderWay.insert(server.get()).second) {
        showOutcome(QStringLiteral("%1 is being refreshed").arg(server->shownName()));
        return;
    }
    windowExchanges.queue([this, server]() -> WorkerQueue::Then {
        const bool refreshed = refreshFavourite(server);
        return [this, server, refreshed] { singleRefreshDidEnd(server, refreshed); };
    });
}

void Zorvel::singleRefreshDidEnd(const CodServerPtr& server, bool refreshed)
{
    singleRefreshesUnderWay.erase(server.get());
    if (!refreshed) {
        showOutcome(QStringLiteral("%1 is being refreshed").arg(server->shownName()));
        return;
    }
    alertOnPlayerName();
    watches.favouriteRefreshed(*server);
    watches.serversChanged();
    if (server->commError() == CodServer::Unreachable)
        showOutcome(QStringLiteral("%1 did not answer").arg(server->shownName()));
    else
        showOutcome(QStringLiteral("Refreshed %1").arg(server->shownName()));
    if (server->mapListingIsDue())
        queueMapListing(server);
    updateUI();
}

// The status bar keeps telling what the command did.
void Zorvel::refreshAfterConsoleCommand(const CodServerPtr& server)
{
    if (!m_myServers.servers().contains(server))
        return;
    windowExchanges.queue([this, server]() -> WorkerQueue::Then {
        refreshFavourite(server);
        return [this] { updateUI(); };
    });
}

// The map listing follows the configuration listing one double-command latency later,
// on the window's worker; its arrival refills the drawer's maps.
void Zorvel::queueMapListing(const CodServerPtr& server)
{
    const std::chrono::duration<double> latency(Preferences::standard().doubleCommandLatency());
    windowExchanges.queueAfter(std::chrono::duration_cast<WorkerQueue::Clock::duration>(latency),
                               [server]() -> WorkerQueue::Then {
                                   server->mapListRefresh();
                                   return {};
                               });
}

bool Zorvel::refreshFavourite(const CodServerPtr& server)
{
    const QString nameBefore = server->serverName();
    // While the worker queries this favourite, a refresh from the window would query
    // it a second time at once: the window shows it as it stands, and the worker's
    // run redraws it when the answer is in.
    if (!server->refreshTryingUt2004())
        return false;
    favouriteRefreshed(*server, nameBefore);
    return true;
}

// An answer goes into the history. A favourite added without a name learns the one
// its server gives; one that did not answer keeps its name, and that is no change.
// Called on the workers.
void Zorvel::favouriteRefreshed(const CodServer& server, const QString& nameBefore)
{
    if (server.commError() == CodServer::Answered)
        m_history.record(ServerAnswer::of(server, ServerAnswer::Source::Favourite));
    if (server.serverName() == nameBefore)
        return;
    m_listOfServersModified = true;
    QMetaObject::invokeMethod(this, &Zorvel::keepRecoveryCopy);
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

// The favourites are refreshed all at once on the scan engine; the window may add,
// move or delete favourites meanwhile, and those it added are refreshed next, until
// every favourite of the list was. Each answer is shown as it comes.
void Zorvel::refreshServerThread(std::stop_token stopToken)
{
    FavouritesRefresh refresh(scanEngine, MasterScan::settingsFor({}));
    const auto refreshed = [this](const CodServerPtr& server, const QString& nameBefore) {
        favouriteRefreshed(*server, nameBefore);
        QMetaObject::invokeMethod(this, &Zorvel::reloadServerTable, Qt::QueuedConnection);
    };
    std::set<CodServerPtr> done;
    const auto notDone = [this, &done] {
        QList<CodServerPtr> favourites = m_myServers.servers();
        favourites.removeIf([&done](const CodServerPtr& server) { return done.contains(server); });
        return favourites;
    };
    for (QList<CodServerPtr> batch = notDone(); !batch.isEmpty() && !stopToken.stop_requested(); batch = notDone()) {
        refresh.run(batch, stopToken, refreshed);
        done.insert(batch.cbegin(), batch.cend());
    }
    QMetaObject::invokeMethod(this, &Zorvel::refreshAllDidEnd, Qt::QueuedConnection);
}

void Zorvel::refreshAllDidEnd()
{
    showRefreshAllRunning(false);
    m_refreshAllInProgress = false;
    // An answer reaches the rules while its favourite is still held for its
    // listings, when the rules cannot tell yet; every favourite is let go by now.
    watches.serversChanged();
    tellRefreshAllOutcome();
    updateUI();
}

void Zorvel::tellRefreshAllOutcome()
{
    const QList<CodServerPtr> favourites = m_myServers.servers();
    const auto silent = std::count_if(favourites.cbegin(), favourites.cend(), [](const CodServerPtr& server) {
        return server->commError() == CodServer::Unreachable;
    });
    QString outcome = QStringLiteral("Refreshed ")
        + CountText::of(favourites.size(), QStringLiteral("favourite"), QStringLiteral("favourites"));
    if (silent > 0)
        outcome += QStringLiteral(", %1 did not answer").arg(CountText::number(silent));
    showOutcome(outcome);
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
    // A worker waiting for a name server would hold the quit back.
    const HostResolution::AbandonedLookups withoutWaiting;
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
    QStringList seenOn;
    for (const CodServerPtr& server : m_myServers.servers()) {
        if (server->serverHasPlayer(watched))
            seenOn.append(server->shownName());
    }
    if (seenOn.isEmpty())
        return;
    armed.setChecked(false);
    // The notification reaches a user whose window is in the background; the alert
    // tells it in the window, also where no notification service runs.
    const QString title = QStringLiteral("Alert on tag/player");
    const QString message =
        QStringLiteral("%1 detected on favorite server(s): %2").arg(watched, seenOn.join(QStringLiteral(", ")));
    DesktopNotifications::current().notify(title, message);
    Alerts::current().runAlert(title, message, QStringLiteral("Ok"));
}

QString Zorvel::armedPlayerAlert() const
{
    if (!mainWindow || !mainWindow->controls().alertOnPlayerButton->isChecked())
        return {};
    return playerNameToFind();
}

void Zorvel::playerAlertChanged()
{
    watches.playerAlertChanged();
}

void Zorvel::showWatchWindow()
{
    watches.showWatchWindow();
}

void Zorvel::joinWatchedServer(const CodServerPtr& server)
{
    if (mainWindow)
        joinServer(server, *mainWindow, false);
}

void Zorvel::goToServer()
{
    if (selectedFavouriteRow() < 0 || !m_currentServer)
        return;
    if (wantsJoinPassword(*m_currentServer))
        mainWindow->passwordWindow().openForPassword();
    else
        joinCurrentServer(QString());
}

bool Zorvel::wantsJoinPassword(const CodServer& server)
{
    const bool optionHeld = QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
    return optionHeld || TextValue::integerValue(server.serverPassActive()) == 1;
}

void Zorvel::goToServerWithPassword()
{
    if (selectedFavouriteRow() >= 0 && m_currentServer)
        mainWindow->passwordWindow().openForPassword();
}

void Zorvel::okPasswordWindow()
{
    PasswordWindow& sheet = mainWindow->passwordWindow();
    sheet.accept();
    joinCurrentServer(sheet.controls().pPassword->text());
}

void Zorvel::joinCurrentServer(const QString& password)
{
    if (m_currentServer)
        joinServerWithPass(*m_currentServer, password);
}

void Zorvel::joinServerWithPass(const CodServer& server, const QString& password)
{
    if (server.joinServerWithPass(password, installedGames()))
        showOutcome(QStringLiteral("Joining %1").arg(server.shownName()));
}

void Zorvel::cancelPasswordWindow()
{
    mainWindow->passwordWindow().reject();
}
