#pragma once

#include "model/GameDescription.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads a game catalogue file (games.json) into game descriptions. Pure: bytes in,
// descriptions or one clear error text out; any input is safe.
//
// The file is {"games": [ {game}, ... ]}. A game has "id", "name", "label",
// "gameNames", "recognitionKeys" ({key: value}), "settingsPrefix", "masters",
// "statusKeys" ({"name"|"password"|"maxClients"|"gametype": [keys]}), "gametypes"
// ([[id, name], ...]), "colours" ("caret-digit"|"darkplaces"), "playerLine"
// ("cod"|"darkplaces"), "statusChallenge" (true when the servers echo a status
// query's challenge; default false), "ports", "launchers", "join", "joinPassword" and "admin"
// ({"kickByName", "kickBySlot", "ban": text, "mapListing": {"command", "prefix",
// "extension"} or null}). A master has "host", "port", "transport" ("udp"|"tcp"),
// "request", "gameName", "protocols", "keywords", "entryPrefix" (hex) and "listEnd"
// ("eot"|"eot-nul"|"silence"|"stream-end"). Only "id" is always needed; a new game
// also needs "name"; what is left out takes the defaults GameDescription names.
class GameCatalogueReader {
public:
    struct Result {
        QList<GameDescription> games;
        // Empty when the file was read; otherwise what is wrong and where.
        QString error;
    };

    struct Masters {
        QList<MasterDescription> masters;
        QString error;
    };

    static Result read(const QByteArray& json);
    // A list of masters in the file's form ([{master}, ...]), as the settings keep
    // the ones the user edited, and the list written in that form.
    static Masters readMasters(const QByteArray& json);
    static QByteArray jsonOf(const QList<MasterDescription>& masters);
    // Reads the user's file over the built-in one: a game of the user's file whose id
    // the built-in file has replaces the fields it gives and keeps the others; a game
    // with a new id comes after the built-in ones. An error of either file is the
    // result's error.
    static Result readMerged(const QByteArray& builtInJson, const QByteArray& userJson);
};
