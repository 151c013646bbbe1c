#pragma once

#include "model/CodPlayer.h"
#include "model/CodServer.h"

#include <QList>
#include <QString>

// One result of the player finder: a player and the server it was found on. Both are
// the very records of the master lists, shown as they are when the table draws.
struct PlayerFound {
    CodPlayerPtr thePlayer;
    CodServerPtr thePlayerServer;

    bool operator==(const PlayerFound&) const = default;

    // One result for every player of every server, in list order, whose colour-free
    // name holds the text, compared without regard to case. The text is taken as
    // typed: neither trimmed nor cleared of colour codes.
    static QList<PlayerFound> searchPlayerInArray(const QString& text, const QList<CodServerPtr>& servers);
};
