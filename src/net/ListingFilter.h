#pragma once

#include "model/GameDescription.h"
#include "model/GameKind.h"

#include <QString>
#include <QStringList>

#include <optional>

// Turns a server's "fdir" file listings into bare map and configuration names. Pure:
// it reads the listing's text alone, so the listings, the tests and the fuzzer share
// it. Names keep the server's order; duplicates stay.
class ListingFilter {
public:
    // How one game's maps are listed: the command that lists them, the path prefix of
    // a map's line, the map file's extension, and names that are not playable maps.
    struct MapListing {
        QString command;
        QString prefix;
        QString extension;
        QStringList excludedNames;
    };

    // The map listing of the game, or nothing for a game whose maps cannot be listed.
    static std::optional<MapListing> mapListingOf(GameKind kind);
    // The map listing the catalogue gives the game, or nothing for a game without one
    // (a game without "fdir") and for no game.
    static std::optional<MapListing> mapListingOf(const GameDescription* game);
    // The map names of a listing: the lines that start with the prefix and end in the
    // extension (both compared with case), without prefix and extension.
    static QStringList mapNames(const MapListing& listing, const QString& answer);

    // The command that lists the configuration files, the same for every game.
    static QString configCommand();
    // The configuration file names of a listing: the lines that start with a slash,
    // without it, less the server's own configurations and the language file.
    static QStringList configNames(const QString& answer);

private:
    static QString extensionOf(const QString& path);
};
