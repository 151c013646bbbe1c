#pragma once

#include <QList>
#include <QString>

// A game whose master server Zorvel scans: its short id (as the command line names
// it), its name, the master request type (QuakeProtocol::CommandType) and the
// settings that hold its master's host and port.
struct ScannedGame {
    QString id;
    QString name;
    int requestType = 0;
    QString hostKey;
    QString portKey;
};

// The games Zorvel scans, in the order the windows show them: CoD, UO, CoD2, CoD4.
class ScannedGames {
public:
    static const QList<ScannedGame>& all();
    // The game of the id, or null when Zorvel scans no such game.
    static const ScannedGame* find(const QString& id);
};
