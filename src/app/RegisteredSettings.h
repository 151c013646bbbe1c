#pragma once

#include "platform/Setting.h"

#include <QByteArray>
#include <QList>

// The settings Zorvel registers at start-up, each with its default, its type and its
// range: the one table that every reader of a setting goes by.
class RegisteredSettings {
public:
    // The table, with the archive of the preset favourites list as the default of
    // "myServers".
    static QList<Setting> table(const QByteArray& presetFavourites);
    // Registers the table with the process-wide store (in memory, never written) and
    // returns the archive of the preset favourites list, the default of "myServers".
    static QByteArray registerWithStandardStore();
};
