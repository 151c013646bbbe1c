#pragma once

#include "admin/ChosenPlayer.h"
#include "admin/ConsoleExchanges.h"
#include "model/CodPlayer.h"
#include "model/CodServer.h"
#include "model/GameKind.h"

#include <QObject>
#include <QString>

#include <functional>

class CommandHistory;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The administration drawer's console commands to the current server: each builds the
// text of one or more remote-console commands, sends the first at once and schedules
// the ones that follow a double-command latency apart. It keeps the player the
// administrator chose in the players table, for a kick or a ban.
//
// The exchanges run on a worker thread, one after the other, and the window goes on
// meanwhile: each answer comes back on the UI thread, where it is written to the
// console with its time, told in the status bar, and followed by a redraw.
class ServerConsole : public QObject {
    Q_OBJECT
public:
    // The drawer's controls that the commands read: the map and gametype to change to,
    // the text to say, the command to send, the new join password, the configuration
    // files and the ban's duration.
    struct Drawer {
        const QComboBox* mapList = nullptr;
        const QComboBox* gametypeList = nullptr;
        QLineEdit* sayText = nullptr;
        QLineEdit* rconText = nullptr;
        QLineEdit* newPassword = nullptr;
        const QComboBox* execFiles = nullptr;
        const QRadioButton* banOneMinute = nullptr;
        const QRadioButton* banTenMinutes = nullptr;
        const QRadioButton* banThirtyMinutes = nullptr;
    };

    // The commands go to the server that currentServer gives at the time of each.
    explicit ServerConsole(std::function<CodServerPtr()> currentServer, QObject* parent = nullptr);

    // The drawer's controls, once the window that holds them exists; Up and Down in
    // its say and command fields recall what was said and sent before in this run.
    void setDrawer(const Drawer& controls);

    // A command that follows another one is sent a double-command latency later, to
    // the server that got the first.
    void restart();
    void nextMap();
    // Sends the drawer's gametype now and its map a latency later; refused for a
    // server that was never refreshed.
    void changeMap();
    void rconSay();
    void rconCommand();
    // The user chose the player at the row of the players table, or none (-1).
    void playersSelectionDidChange(int row);
    // The row of the chosen player among the current server's players, where the
    // players table selects it after each reload; -1 when the choice stands for nobody
    // there, which then forgets it.
    int chosenPlayerRow();
    // Whether a player of the current server is chosen.
    bool hasChosenPlayer() const { return chosenPlayer() != nullptr; }
    // Kick or ban the chosen player: by name with the Alt key held, otherwise by the
    // slot that the server's console status listing gives the player. Beep without a
    // chosen player on the current server.
    void kickPlayer();
    void banPlayer();
    // The same by name, whatever the keys held. A name the server would not read
    // whole as one argument is refused with an alert.
    void kickPlayerByName();
    void banPlayerByName();
    void kickAllPlayer();
    void setNewServerPassword();
    void execCfg();

    // No command is waiting for its latency, under way, or unanswered.
    bool idle() const { return scheduledCommands == 0 && exchanges.idle(); }

signals:
    // A command ran or was answered: the window is to show the state it left.
    void commandHandled();
    // A server answered a command, or did not: the console's entry for it.
    void commandAnswered(const QString& entry);
    // What became of an action, for the status bar.
    void outcome(const QString& message);
    // A kick or a ban reached the server, or the player had left it: its players
    // changed, and a refresh shows them as they are.
    void playersMayHaveChanged(const CodServerPtr& server);

private:
    // What to do with the answer of an exchange once it is told.
    using Then = std::function<void(const QString& answer)>;

    GameKind currentGame() const;
    // Sends the command to the current server; once answered, the status bar tells
    // what was `done` on the server (nothing when empty: a command that only prepares
    // the next one).
    void sendRconCommand(const QString& command, const QString& done, Then then = {});
    // Once a kick or ban was sent, the server is to be refreshed: its players changed.
    Then refreshAfterwards(const CodServerPtr& server);
    // Sends what the field holds, after the prefix, remembers it in the field's
    // history and empties the field; the status bar tells the verb and the text.
    void sendTyped(QLineEdit& field, CommandHistory& history, const QString& commandPrefix, const QString& doneVerb);
    void scheduleRconCommand(const CodServerPtr& server, const QString& command, double seconds,
                             const QString& done, Then then = {});
    void exchange(const CodServerPtr& server, const QString& command, int type, const QString& done, Then then);
    void tellAnswer(const CodServer& server, const QString& command, const QString& answer, const QString& done);
    CodPlayerPtr chosenPlayer() const;
    // The chosen player, or null after a beep when there is none on the current server.
    CodPlayerPtr chosenPlayerOrBeep() const;
    // Fetches the server's console status listing and, once it came, calls found with
    // the player's slot in it: a kick or ban by slot.
    // The alert about a name several players share has the title and names the
    // context-menu entry that acts by name.
    void withSlotOf(const CodPlayerPtr& player, const QString& alertTitle, const QString& byNameEntry,
                    std::function<void(const CodServerPtr& server, int slot)> found);
    void kickPlayerBySlot();
    void banPlayerBySlot();
    int banDuration() const;

    const std::function<CodServerPtr()> currentServer;
    Drawer drawer;
    CommandHistory* sayHistory = nullptr;
    CommandHistory* rconHistory = nullptr;
    ChosenPlayer m_chosenPlayer;
    int scheduledCommands = 0;
    ConsoleExchanges exchanges;
};
