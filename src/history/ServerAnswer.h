#pragma once

#include <QList>
#include <QString>

class CodServer;

// What the history keeps of one answered status query: a copy taken when the answer
// came, so that it can be written later on the history's thread while the record
// goes on changing.
struct ServerAnswer {
    // Where the answer came from; it decides how long the history keeps it.
    enum class Source { Favourite = 0, Scan = 1, Finder = 2, Watch = 3 };

    struct Player {
        // The name without colour codes, and as the server sent it.
        QString name;
        QString rawName;
    };

    // Seconds since 1970 (UTC).
    qint64 time = 0;
    Source source = Source::Favourite;
    QString address;
    QString game;
    QString name;
    QString map;
    QString gametype;
    int players = 0;
    int maxPlayers = 0;
    // Milliseconds; -1 when unknown.
    int ping = -1;
    QList<Player> playerList;

    // The record's last answer, taken now (call it right after the answer came).
    static ServerAnswer of(const CodServer& server, Source source);
};
