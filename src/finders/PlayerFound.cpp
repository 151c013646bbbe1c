#include "finders/PlayerFound.h"

QList<PlayerFound> PlayerFound::searchPlayerInArray(const QString& text, const QList<CodServerPtr>& servers)
{
    QList<PlayerFound> found;
    for (const CodServerPtr& server : servers) {
        for (const CodPlayerPtr& player : server->serverPlayers()) {
            if (player->playerName().contains(text, Qt::CaseInsensitive))
                found.append({player, server});
        }
    }
    return found;
}
