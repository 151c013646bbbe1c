#include "admin/ServerConsole.h"

#include "admin/ConsoleArgument.h"
#include "model/GameCatalogue.h"
#include "model/GameKind.h"
#include "net/ConsoleReply.h"
#include "net/ConsoleStatusListing.h"
#include "net/QuakeProtocol.h"
#include "platform/Alerts.h"
#include "platform/CommandHistory.h"
#include "platform/CountText.h"
#include "platform/Preferences.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTime>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <optional>

namespace {

// How the alerts of a kick or a ban name it, and the two ways the window offers it:
// the drawer's button, by slot, and the player's context-menu entry, by name.
struct Sanction {
    QString title;
    QString bySlot;
    QString byName;
};
const Sanction kick = {QStringLiteral("Kick Player"), QStringLiteral("Kick"), QStringLiteral("Kick by name")};
const Sanction ban = {QStringLiteral("Ban Player"), QStringLiteral("Ban"), QStringLiteral("Ban by name")};

// The console commands of the server's game, from the catalogue; a game it does not
// describe takes the catalogue's defaults.
AdminCommands adminCommandsOf(const CodServer& server)
{
    const GameDescription* game = GameCatalogue::standard().gameOf(server.serverGameName(), server.serverRules());
    return game ? game->admin
                : AdminCommands{QStringLiteral("kick {name}"), QStringLiteral("clientKick {slot}"),
                                QStringLiteral("banUser {name}"), std::nullopt};
}

// The game's ban command where it bans by what the placeholder stands for (a slot, a
// name), else the usual one.
QString permanentBan(const CodServer& server, const QString& placeholder, const QString& value, const QString& usual)
{
    const QString ban = adminCommandsOf(server).ban;
    return ban.contains(placeholder) ? QString(ban).replace(placeholder, value) : usual;
}

// The delay in seconds between two console commands sent in a row.
double latency()
{
    return Preferences::standard().doubleCommandLatency();
}

bool optionKeyIsHeld()
{
    return QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
}

// Whether the server reads the name whole as the argument of a console command.
bool nameReadsWhole(const QString& name)
{
    return !name.isEmpty() && ConsoleArgument::readsAsOneWord(name);
}

// Tells that the server would not read the text whole (`what`: a name, a password),
// and what to do instead.
void refuseArgument(const QString& alertTitle, const QString& what, const QString& advice)
{
    Alerts::current().runAlert(alertTitle,
                               QStringLiteral("The server would not read this %1 whole, %2 !").arg(what, advice),
                               QStringLiteral("OK"));
}

void refuseName(const Sanction& sanction)
{
    refuseArgument(sanction.title, QStringLiteral("name"),
                   QStringLiteral("use %1, which finds the player's slot").arg(sanction.bySlot));
}

QString quoted(const QString& text)
{
    return u'\u201c' + text + u'\u201d';
}

// How long a ban of that many seconds lasts, 0 being for ever.
QString banLength(int seconds)
{
    return seconds > 0 ? QStringLiteral("for ") + CountText::of(seconds / 60, QStringLiteral("minute"),
                                                                QStringLiteral("minutes"))
                       : QStringLiteral("for ever");
}

// The console's entry for one exchange: the time of its answer, the server and the
// command as a prompt, then what the server printed, or that nothing came.
QString entryText(const CodServer& server, const QString& command, const std::optional<QString>& output)
{
    QString entry = QStringLiteral("[%1] %2> %3")
                        .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), server.shownName(), command);
    if (!output)
        return entry + QStringLiteral("\n(no answer)");
    return output->isEmpty() ? entry : entry + u'\n' + *output;
}

// The console's line after a refusal of the rcon password: how many more refusals
// the password stands, or that it is gone.
QString passwordCountdown(const CodServer& server)
{
    if (server.serverPass().isEmpty())
        return QStringLiteral("The rcon password has been deleted");
    return QStringLiteral("Refusals left before the rcon password is deleted: %1")
        .arg(server.refusalsLeftBeforeForgettingPass());
}

}  // namespace

ServerConsole::ServerConsole(std::function<CodServerPtr()> currentServer, QObject* parent)
    : QObject(parent)
    , currentServer(std::move(currentServer))
{
}

void ServerConsole::setDrawer(const Drawer& controls)
{
    drawer = controls;
    sayHistory = drawer.sayText ? &CommandHistory::attach(*drawer.sayText) : nullptr;
    rconHistory = drawer.rconText ? &CommandHistory::attach(*drawer.rconText) : nullptr;
}

GameKind ServerConsole::currentGame() const
{
    const CodServerPtr server = currentServer();
    return server ? gameKindOf(server->serverGameName()) : GameKind::Unknown;
}

void ServerConsole::restart()
{
    const GameKind game = currentGame();
    const bool fast = game == GameKind::CoD2 || game == GameKind::CoD4;
    sendRconCommand(fast ? QStringLiteral("fast_restart") : QStringLiteral("map_restart"),
                    QStringLiteral("Restarted the map"));
    emit commandHandled();
}

void ServerConsole::nextMap()
{
    const GameKind game = currentGame();
    sendRconCommand(game == GameKind::UrbanTerror ? QStringLiteral("cyclemap") : QStringLiteral("map_rotate"),
                    QStringLiteral("Went to the next map"));
    emit commandHandled();
}

void ServerConsole::changeMap()
{
    const QString map = drawer.mapList->currentText();
    const QString gametype = drawer.gametypeList->currentText();
    const CodServerPtr server = currentServer();
    const QString alertTitle = QStringLiteral("Changing map & gametype:");
    if (!server || !server->lastUpdate()) {
        Alerts::current().runAlert(alertTitle, QStringLiteral("You must refresh the server before use"),
                                   QStringLiteral("OK"));
        return;
    }
    if (!ConsoleArgument::readsAsOneWord(map) || !ConsoleArgument::readsAsOneWord(gametype)) {
        refuseArgument(alertTitle, QStringLiteral("map or gametype"),
                       QStringLiteral("remove its blanks, quotes and semicolons"));
        return;
    }
    sendRconCommand(QStringLiteral("g_gametype ") + gametype, QStringLiteral("Set the gametype to ") + gametype);
    scheduleRconCommand(server, QStringLiteral("map ") + map, latency(), QStringLiteral("Changed the map to ") + map);
}

void ServerConsole::rconSay()
{
    sendTyped(*drawer.sayText, *sayHistory, QStringLiteral("say "), QStringLiteral("Said "));
}

// An empty command field sends nothing, whether Enter or the button asked.
void ServerConsole::rconCommand()
{
    if (drawer.rconText->text().isEmpty())
        return;
    sendTyped(*drawer.rconText, *rconHistory, {}, QStringLiteral("Ran "));
}

void ServerConsole::sendTyped(QLineEdit& field, CommandHistory& history, const QString& commandPrefix,
                              const QString& doneVerb)
{
    const QString text = field.text();
    history.remember(text);
    sendRconCommand(commandPrefix + text, doneVerb + quoted(text));
    field.clear();
    emit commandHandled();
}

void ServerConsole::kickPlayer()
{
    if (optionKeyIsHeld())
        kickPlayerByName();
    else
        kickPlayerBySlot();
}

void ServerConsole::kickPlayerBySlot()
{
    const CodPlayerPtr player = chosenPlayerOrBeep();
    if (!player)
        return;
    withSlotOf(player, kick.title, kick.byName, [this, player](const CodServerPtr& server, int slot) {
        const QString command =
            adminCommandsOf(*server).kickBySlot.replace(QStringLiteral("{slot}"), QString::number(slot));
        scheduleRconCommand(server, command, latency(),
                            QStringLiteral("Kicked %1 (slot %2)").arg(player->playerName()).arg(slot),
                            refreshAfterwards(server));
    });
    emit commandHandled();
}

void ServerConsole::kickPlayerByName()
{
    const CodPlayerPtr player = chosenPlayerOrBeep();
    if (!player)
        return;
    const QString name = player->colouredName();
    const CodServerPtr server = currentServer();
    if (nameReadsWhole(name))
        sendRconCommand(adminCommandsOf(*server).kickByName.replace(QStringLiteral("{name}"), name),
                        QStringLiteral("Kicked ") + player->playerName(), refreshAfterwards(server));
    else
        refuseName(kick);
    emit commandHandled();
}

void ServerConsole::kickAllPlayer()
{
    const Alerts::Answer answer =
        Alerts::current().runAlert(QStringLiteral("Kick all !"), QStringLiteral("Do you really want to kick all players?"),
                                   QStringLiteral("OK"), QStringLiteral("No"));
    if (answer == Alerts::DefaultButton)
        sendRconCommand(QStringLiteral("kick all"), QStringLiteral("Kicked all players"));
    emit commandHandled();
}

void ServerConsole::banPlayer()
{
    if (optionKeyIsHeld())
        banPlayerByName();
    else
        banPlayerBySlot();
}

void ServerConsole::banPlayerBySlot()
{
    const CodPlayerPtr player = chosenPlayerOrBeep();
    if (!player)
        return;
    const int duration = banDuration();
    withSlotOf(player, ban.title, ban.byName, [this, player, duration](const CodServerPtr& server, int slot) {
        const QString banned =
            QStringLiteral("Banned %1 (slot %2) %3").arg(player->playerName()).arg(slot).arg(banLength(duration));
        if (duration > 0) {
            scheduleRconCommand(server, QStringLiteral("sv_kickBanTime %1").arg(duration), latency(), {});
            scheduleRconCommand(server, QStringLiteral("tempBanClient %1").arg(slot), 2 * latency(), banned,
                                refreshAfterwards(server));
        } else {
            scheduleRconCommand(server, permanentBan(*server, QStringLiteral("{slot}"), QString::number(slot),
                                                     QStringLiteral("clientBan %1").arg(slot)),
                                latency(), banned, refreshAfterwards(server));
        }
    });
    emit commandHandled();
}

void ServerConsole::banPlayerByName()
{
    const CodPlayerPtr player = chosenPlayerOrBeep();
    if (!player)
        return;
    const QString name = player->colouredName();
    const int duration = banDuration();
    const QString banned = QStringLiteral("Banned %1 %2").arg(player->playerName(), banLength(duration));
    const CodServerPtr server = currentServer();
    if (!nameReadsWhole(name)) {
        refuseName(ban);
    } else if (duration > 0) {
        sendRconCommand(QStringLiteral("sv_kickBanTime %1").arg(duration), {});
        scheduleRconCommand(server, QStringLiteral("tempBanUser ") + name, latency(), banned,
                            refreshAfterwards(server));
    } else {
        const QString command = permanentBan(*server, QStringLiteral("{name}"), name, QStringLiteral("banUser ") + name);
        sendRconCommand(command, banned, refreshAfterwards(server));
    }
    emit commandHandled();
}

void ServerConsole::setNewServerPassword()
{
    QLineEdit& field = *drawer.newPassword;
    if (!ConsoleArgument::readsWithinQuotes(field.text())) {
        refuseArgument(QStringLiteral("Join password:"), QStringLiteral("password"),
                       QStringLiteral("remove its quotes and semicolons"));
        return;
    }
    sendRconCommand(QStringLiteral("g_password \"%1\"").arg(field.text()), QStringLiteral("Set the join password"));
    field.clear();
    emit commandHandled();
}

void ServerConsole::execCfg()
{
    const QComboBox& files = *drawer.execFiles;
    if (files.currentIndex() < 0) {
        Alerts::current().runAlert(QStringLiteral("RCON exec command:"),
                                   QStringLiteral("You must select a cfg file in the list (refresh if necessary)"),
                                   QStringLiteral("OK"));
        return;
    }
    sendRconCommand(QStringLiteral("exec ") + files.currentText(), QStringLiteral("Executed ") + files.currentText());
    emit commandHandled();
}

void ServerConsole::sendRconCommand(const QString& command, const QString& done, Then then)
{
    if (const CodServerPtr server = currentServer())
        exchange(server, command, QuakeProtocol::RconCommand, done, std::move(then));
}

ServerConsole::Then ServerConsole::refreshAfterwards(const CodServerPtr& server)
{
    return [this, server](const QString&) { emit playersMayHaveChanged(server); };
}

// The command goes to the server that got the first command of its sequence, even
// when another favourite was selected in the meantime: a "clientKick" or "map" meant
// for one server must not reach another.
void ServerConsole::scheduleRconCommand(const CodServerPtr& server, const QString& command, double seconds,
                                        const QString& done, Then then)
{
    if (!server)
        return;
    const auto delay = std::chrono::milliseconds(static_cast<qint64>(std::ceil(seconds * 1000.0)));
    ++scheduledCommands;
    QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, command, server, done, then] {
        --scheduledCommands;
        exchange(server, command, QuakeProtocol::RconCommand, done, then);
    });
}

void ServerConsole::exchange(const CodServerPtr& server, const QString& command, int type, const QString& done,
                             Then then)
{
    exchanges.queue({server, command, type}, [this, server, command, done, then](const QString& answer) {
        tellAnswer(*server, command, answer, done);
        if (then)
            then(answer);
        emit commandHandled();
    });
}

void ServerConsole::tellAnswer(const CodServer& server, const QString& command, const QString& answer,
                               const QString& done)
{
    const std::optional<QString> output = ConsoleReply::outputOf(answer);
    const bool refused = ConsoleReply::refusesPassword(answer);
    const QString entry = entryText(server, command, output);
    emit commandAnswered(refused ? entry + u'\n' + passwordCountdown(server) : entry);
    if (!output)
        emit outcome(QStringLiteral("No answer from %1 to %2").arg(server.shownName(), quoted(command)));
    else if (refused)
        emit outcome(QStringLiteral("%1 refused the rcon password").arg(server.shownName()));
    // The engines answer a command they lack with "Unknown command" and its name,
    // whatever game or mod runs on them.
    else if (output->contains(QStringLiteral("unknown command"), Qt::CaseInsensitive))
        emit outcome(QStringLiteral("%1 does not know the command %2").arg(server.shownName(), quoted(command)));
    else if (!done.isEmpty())
        emit outcome(done + QStringLiteral(" on ") + server.shownName());
}

void ServerConsole::playersSelectionDidChange(int row)
{
    const CodServerPtr server = currentServer();
    const QList<CodPlayerPtr> players = server ? server->serverPlayers() : QList<CodPlayerPtr>();
    m_chosenPlayer.choose(server, row >= 0 && row < players.size() ? players.at(row) : nullptr);
}

int ServerConsole::chosenPlayerRow()
{
    const CodServerPtr server = currentServer();
    const int row = server ? m_chosenPlayer.rowIn(server, server->serverPlayers()) : -1;
    if (row < 0)
        m_chosenPlayer.forget();
    return row;
}

// The chosen player as the current server lists it now: a refresh on another thread
// may have replaced the list since the players table was drawn.
CodPlayerPtr ServerConsole::chosenPlayer() const
{
    const CodServerPtr server = currentServer();
    if (!server)
        return nullptr;
    const QList<CodPlayerPtr> players = server->serverPlayers();
    const int row = m_chosenPlayer.rowIn(server, players);
    return row < 0 ? nullptr : players.at(row);
}

CodPlayerPtr ServerConsole::chosenPlayerOrBeep() const
{
    CodPlayerPtr player = chosenPlayer();
    if (!player)
        Alerts::current().beep();
    return player;
}

// Beeps when the answer is no listing. A player the listing lacks has left: the
// status bar says so and the server is refreshed, so that the players table drops
// the player too. A name several players share is told with an alert.
void ServerConsole::withSlotOf(const CodPlayerPtr& player, const QString& alertTitle, const QString& byNameEntry,
                               std::function<void(const CodServerPtr& server, int slot)> found)
{
    const CodServerPtr server = currentServer();
    exchange(server, QStringLiteral("status"), QuakeProtocol::RconStatus, {},
             [this, server, player, alertTitle, byNameEntry, found](const QString& listing) {
                 const ConsoleStatusListing::Lookup lookup =
                     ConsoleStatusListing::slotOfPlayer(listing, player->colouredName());
                 switch (lookup.outcome) {
                 case ConsoleStatusListing::Found: found(server, lookup.slot); break;
                 case ConsoleStatusListing::NotAListing: Alerts::current().beep(); break;
                 case ConsoleStatusListing::NotListed:
                     emit outcome(QStringLiteral("%1 is no longer on %2").arg(player->playerName(), server->shownName()));
                     emit playersMayHaveChanged(server);
                     break;
                 case ConsoleStatusListing::SeveralPlayers:
                     Alerts::current().runAlert(alertTitle,
                                                QStringLiteral("Several players on %1 have this name: the server "
                                                               "cannot tell them apart by slot. Try %2 in the "
                                                               "player's context menu.")
                                                    .arg(server->shownName(), byNameEntry),
                                                QStringLiteral("OK"));
                     break;
                 }
             });
}

// The ban's duration in seconds from the drawer's radio buttons: one, ten or thirty
// minutes, and 0 (for ever) when none of those is on.
int ServerConsole::banDuration() const
{
    if (drawer.banOneMinute->isChecked())
        return 60;
    if (drawer.banTenMinutes->isChecked())
        return 600;
    if (drawer.banThirtyMinutes->isChecked())
        return 1800;
    return 0;
}
