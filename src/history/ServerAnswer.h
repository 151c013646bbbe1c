#pragma once

#include "model/CodPlayer.h"

#include <QList>
#include <QString>

class CodServer;

// What the history keeps of one answered status query: a copy taken when the answer
// came, so that it can be written later on the history's thread while the record
// goes on changing. The players are the record's own list, shared: players never
// change, and a refresh installs a new list, so a queued answer costs no copy of them.
struct ServerAnswer {
    // Where the answer came from; it decides how long the history keeps it.
    enum class Source { Favourite = 0, Scan = 1, Finder = 2, Watch = 3 };

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
    QList<CodPlayerPtr> playerList;

    // The record's last answer, taken now (call it right after the answer came).
    static ServerAnswer of(const CodServer& server, Source source);
    // The player's name as the server sent it, colour codes and all.
    static QString rawNameOf(const CodPlayer& player);
};
