#pragma once

#include <QString>
#include <QStringList>

class CodServer;

// What the watch rules look at in one server: whether it is up, its map, its
// players' names without colour codes, and its player counts, taken from a record at
// one moment.
struct ServerSnapshot {
    enum class State {
        // Never asked, or asked and not yet answered.
        NotYetAsked,
        // A refresh is under way: the fields may be emptied, waiting for the answer.
        Refreshing,
        Up,
        Down,
    };

    QString address;
    // The name that tells the server in a message.
    QString name;
    State state = State::NotYetAsked;
    QString map;
    QStringList players;
    int maxPlayers = 0;

    // Whether some player's name contains the text, ignoring case.
    bool hasPlayer(const QString& text) const;
    int playerCount() const { return int(players.size()); }
    int freeSlots() const { return maxPlayers - playerCount(); }

    // The record as it stands; Refreshing while a refresh of it is under way when
    // the snapshot begins or ends.
    static ServerSnapshot of(const CodServer& server);
};
