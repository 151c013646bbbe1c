#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// The answer of a UT2004 server to the players query: one record per player. Pure:
// bytes in, players out.
class UtPlayersAnswer {
public:
    struct Player {
        QString name;
        qint32 ping = 0;
        qint32 score = 0;
        bool operator==(const Player&) const = default;
    };

    // The players of a whole answer datagram (request bytes included), in answer order,
    // up to the first record whose name, ping or score runs past the datagram.
    static QList<Player> parse(QByteArrayView answer);
};
