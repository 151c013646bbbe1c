#include "launch/InstalledGames.h"

#include "launch/Desktop.h"
#include "model/GameCatalogue.h"

InstalledGames::InstalledGames(QSet<QString> ids)
    : ids(std::move(ids))
{
}

InstalledGames InstalledGames::onThisDesktop()
{
    QSet<QString> found;
    for (const GameDescription& game : GameCatalogue::standard().games()) {
        if (!game.launchers.isEmpty() && !Desktop::current().applicationPath(game.id).isEmpty())
            found.insert(game.id);
    }
    return InstalledGames(found);
}
