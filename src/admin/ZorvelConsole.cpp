// The operations of the application controller behind the administration drawer's
// console commands: each builds the text of one or more remote-console commands for
// the current server, sends the first at once and schedules the ones that follow a
// double-command latency apart, then redraws the window.
#include "app/Zorvel.h"

#include "app/Alerts.h"
#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "model/GameKind.h"
#include "net/ConsoleStatusListing.h"
#include "net/QuakeProtocol.h"

#include "ui_MainWindow.h"

#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

namespace {

const QString kickTitle = QStringLiteral("Kick Player");
const QString banTitle = QStringLiteral("Ban Player");

// The delay in seconds between two console commands sent in a row.
double latency()
{
    return Preferences::standard().doubleCommandLatency();
}

bool optionKeyIsHeld()
{
    return QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
}

// Whether the server reads the name whole as the argument of a console command: it
// ends an argument at a blank, a command at a semicolon or a line end, and takes a
// double quote as the start of a quoted argument.
bool nameReadsWhole(const QString& name)
{
    if (name.isEmpty())
        return false;
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u' ' || c == u';' || c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
}

void refuseName(const QString& alertTitle)
{
    Alerts::current().runAlert(alertTitle,
                               QStringLiteral("The server would not read this name whole, "
                                              "use the button without option key !"),
                               QStringLiteral("OK"));
}

}  // namespace

void Zorvel::restart()
{
    const GameKind game = m_currentServer ? gameKindOf(m_currentServer->serverGameName()) : GameKind::Unknown;
    const bool fast = game == GameKind::CoD2 || game == GameKind::CoD4;
    sendRconCommand(fast ? QStringLiteral("fast_restart") : QStringLiteral("map_restart"));
    updateUI();
}

void Zorvel::nextMap()
{
    const GameKind game = m_currentServer ? gameKindOf(m_currentServer->serverGameName()) : GameKind::Unknown;
    sendRconCommand(game == GameKind::UrbanTerror ? QStringLiteral("cyclemap") : QStringLiteral("map_rotate"));
    updateUI();
}

void Zorvel::changeMap()
{
    const Ui::MainWindow& controls = mainWindow->controls();
    const QString map = controls.mapListComboBox->currentText();
    const QString gametype = controls.gametypeListComboBox->currentText();
    if (!m_currentServer || !m_currentServer->lastUpdate()) {
        Alerts::current().runAlert(QStringLiteral("Changing map & gametype:"),
                                   QStringLiteral("You must refresh the server before use"), QStringLiteral("OK"));
        return;
    }
    sendRconCommand(QStringLiteral("g_gametype ") + gametype);
    scheduleRconCommand(QStringLiteral("map ") + map, latency());
}

void Zorvel::rconSay()
{
    QLineEdit& field = *mainWindow->controls().sayAndRconField;
    sendRconCommand(QStringLiteral("say ") + field.text());
    field.clear();
    updateUI();
}

void Zorvel::rconCommand()
{
    QLineEdit& field = *mainWindow->controls().sayAndRconField;
    sendRconCommand(field.text());
    field.clear();
    updateUI();
}

void Zorvel::kickPlayer()
{
    const CodPlayerPtr player = selectedPlayer();
    if (!player) {
        Alerts::current().beep();
        return;
    }
    const QString name = player->colouredName();
    if (!optionKeyIsHeld()) {
        if (const std::optional<int> slot = slotInStatusListing(name, kickTitle))
            scheduleRconCommand(QStringLiteral("clientKick %1").arg(*slot), latency());
    } else if (nameReadsWhole(name)) {
        sendRconCommand(QStringLiteral("kick ") + name);
    } else {
        refuseName(kickTitle);
    }
    updateUI();
}

void Zorvel::kickAllPlayer()
{
    const Alerts::Answer answer =
        Alerts::current().runAlert(QStringLiteral("Kick all !"), QStringLiteral("Do you really want to kick all players?"),
                                   QStringLiteral("OK"), QStringLiteral("No"));
    if (answer == Alerts::DefaultButton)
        sendRconCommand(QStringLiteral("kick all"));
    updateUI();
}

void Zorvel::banPlayer()
{
    const CodPlayerPtr player = selectedPlayer();
    if (!player) {
        Alerts::current().beep();
        return;
    }
    const QString name = player->colouredName();
    const int duration = banDuration();
    const QString banTime = QStringLiteral("sv_kickBanTime %1").arg(duration);
    if (!optionKeyIsHeld()) {
        if (const std::optional<int> slot = slotInStatusListing(name, banTitle)) {
            if (duration > 0) {
                scheduleRconCommand(banTime, latency());
                scheduleRconCommand(QStringLiteral("tempBanClient %1").arg(*slot), 2 * latency());
            } else {
                scheduleRconCommand(QStringLiteral("clientBan %1").arg(*slot), latency());
            }
        }
    } else if (!nameReadsWhole(name)) {
        refuseName(banTitle);
    } else if (duration > 0) {
        sendRconCommand(banTime);
        scheduleRconCommand(QStringLiteral("tempBanUser ") + name, latency());
    } else {
        sendRconCommand(QStringLiteral("banUser ") + name);
    }
    updateUI();
}

void Zorvel::setNewServerPassword()
{
    QLineEdit& field = *mainWindow->controls().newPassword;
    sendRconCommand(QStringLiteral("g_password \"%1\"").arg(field.text()));
    field.clear();
    updateUI();
}

void Zorvel::execCfg()
{
    const QComboBox& files = *mainWindow->controls().execComboBox;
    if (files.currentIndex() < 0) {
        Alerts::current().runAlert(QStringLiteral("RCON exec command:"),
                                   QStringLiteral("You must select a cfg file in the list (refresh if necessary)"),
                                   QStringLiteral("OK"));
        return;
    }
    sendRconCommand(QStringLiteral("exec ") + files.currentText());
    updateUI();
}

void Zorvel::delayedRconCommand(const QString& command, const CodServerPtr& server)
{
    server->sendCommandToServer(command, QuakeProtocol::RconCommand);
    updateUI();
}

void Zorvel::sendRconCommand(const QString& command)
{
    if (m_currentServer)
        m_currentServer->sendCommandToServer(command, QuakeProtocol::RconCommand);
}

// The command goes to the server that got the first command of its sequence, even
// when another favourite was selected in the meantime: a "clientKick" or "map" meant
// for one server must not reach another.
void Zorvel::scheduleRconCommand(const QString& command, double seconds)
{
    const CodServerPtr server = m_currentServer;
    if (!server)
        return;
    const auto delay = std::chrono::milliseconds(static_cast<qint64>(std::ceil(seconds * 1000.0)));
    QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, command, server] { delayedRconCommand(command, server); });
}

// The player of the selected row of the players table. A row beyond the current
// server's players (a refresh shortened the list after the table was drawn) counts
// as no selection.
CodPlayerPtr Zorvel::selectedPlayer() const
{
    if (!mainWindow || !m_currentServer)
        return nullptr;
    const QModelIndexList rows = mainWindow->controls().tableViewPlayers->selectionModel()->selectedRows();
    const QList<CodPlayerPtr> players = m_currentServer->serverPlayers();
    if (rows.isEmpty() || rows.first().row() >= players.size())
        return nullptr;
    return players.at(rows.first().row());
}

// Fetches the server's console status listing and finds the player's slot in it.
// Beeps when the answer is no listing, and tells with an alert titled for the action
// when the player is not in it or cannot be told from another player.
std::optional<int> Zorvel::slotInStatusListing(const QString& colouredName, const QString& alertTitle)
{
    const QString listing = m_currentServer->sendCommandToServer(QString(), QuakeProtocol::RconStatus);
    const ConsoleStatusListing::Lookup lookup = ConsoleStatusListing::slotOfPlayer(listing, colouredName);
    switch (lookup.outcome) {
    case ConsoleStatusListing::Found: return lookup.slot;
    case ConsoleStatusListing::NotAListing: Alerts::current().beep(); break;
    case ConsoleStatusListing::NotListed:
        Alerts::current().runAlert(
            alertTitle, QStringLiteral("Player is not in the status response, try to kick by name with option key !"),
            QStringLiteral("OK"));
        break;
    case ConsoleStatusListing::SeveralPlayers:
        Alerts::current().runAlert(
            alertTitle,
            QStringLiteral("Several players of the status response have this name, "
                           "try to kick by name with option key !"),
            QStringLiteral("OK"));
        break;
    }
    return std::nullopt;
}

// The ban's duration in seconds from the drawer's radio buttons: one, ten or thirty
// minutes, and 0 (for ever) when none of those is on.
int Zorvel::banDuration() const
{
    const Ui::MainWindow& controls = mainWindow->controls();
    if (controls.banOneMinuteButton->isChecked())
        return 60;
    if (controls.banTenMinutesButton->isChecked())
        return 600;
    if (controls.banThirtyMinutesButton->isChecked())
        return 1800;
    return 0;
}
