#pragma once

#include "model/GameDescription.h"

#include <QList>
#include <QString>

class Preferences;

// The masters of a game as the user edited them in the preferences' Masters page,
// kept in the settings under "Masters <id>" in the catalogue's form; an empty or
// missing value stands for the catalogue's own masters. For the Call of Duty games
// these come after the master of their older settings keys.
class EditedMasters {
public:
    static QString keyOf(const GameDescription& game);
    // The user's masters of the game, or else the catalogue's. A stored value that
    // cannot be read counts as none, with one log line.
    static QList<MasterDescription> of(const GameDescription& game, const Preferences& store);
    // Stores the masters; masters equal to the catalogue's store the empty value, so
    // that a later catalogue's masters take their place. False when not written.
    static bool store(const GameDescription& game, const QList<MasterDescription>& masters, Preferences& store);
    // A master at that host, port and transport, asked the way the catalogue asks the
    // game's master there, or else its first master of that transport, or else with
    // the usual request.
    static MasterDescription likeCatalogue(const GameDescription& game, const QString& host, quint16 port,
                                           MasterDescription::Transport transport);
};
