#pragma once

#include "model/CodServer.h"

#include <QList>
#include <QStringList>

// What the map and gametype boxes of the server finder offer for one game: "All",
// then the distinct gametypes (or map names) of the game's servers in lowercase, in
// the order of their first appearance. Empty texts are left out.
struct GameChoices {
    QStringList gametypes;
    QStringList maps;

    static GameChoices of(const QList<CodServerPtr>& servers);
};
