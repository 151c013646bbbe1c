#pragma once

#include "model/CodPlayer.h"
#include "model/CodServer.h"

#include <QList>
#include <QString>

#include <memory>

// The player the administrator chose in the players table, for a kick or a ban. Every
// refresh replaces the server's players, in an order of the server's own, so the
// choice is kept as a name on a server rather than as a row: it follows the player to
// the row the player has now, and stands for nobody on another server or once the
// player has left.
class ChosenPlayer {
public:
    // Chooses the player on the server; no player forgets the choice.
    void choose(const CodServerPtr& server, const CodPlayerPtr& player);
    void forget();
    // The row of the chosen player among the server's players, or -1 when the choice
    // was made on another server or no player there has the chosen name.
    int rowIn(const CodServerPtr& server, const QList<CodPlayerPtr>& players) const;

private:
    // Weak, so that a favourite deleted since is not kept alive by the choice.
    std::weak_ptr<CodServer> m_server;
    // With its colour codes: the name exactly as the server reports it.
    QString m_colouredName;
};
