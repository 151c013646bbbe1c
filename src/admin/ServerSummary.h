#pragma once

#include "model/GameKind.h"

#include <QString>

#include <optional>

class CodServer;

// What the main window's summary shows for the selected favourite: players, map,
// gametype and ping, the status line that tells the outcome of the last exchange,
// and which of the three icons (game, PunkBuster, join password) appear.
class ServerSummary {
public:
    // The empty summary, for no selected favourite.
    ServerSummary() = default;
    explicit ServerSummary(const CodServer& server);

    QString numberOfPlayers;
    QString currentMap;
    QString currentGameType;
    QString currentPing;
    QString statusLine;
    // The icons appear only for a server that has been reached; then the game icon
    // is that of the game (none for an unknown game).
    bool showsIcons = false;
    GameKind game = GameKind::Unknown;
    bool punkbuster = false;
    bool password = false;

    // The ping text of a record ("Ping: %3.0f ms", "Ping: --- ms" or "---") as it
    // reads beside a "Ping:" label: without that prefix and the padding of the number.
    static QString pingTime(const QString& pingText);

private:
    static QString statusLineOf(const CodServer& server);
    // The host name of the server's address when its last exchange found no address
    // for it.
    static std::optional<QString> unfoundHostName(const CodServer& server);
};
