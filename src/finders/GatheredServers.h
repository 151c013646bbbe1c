#pragma once

#include "finders/FoundServers.h"
#include "finders/GameChoices.h"
#include "model/CodServer.h"

#include <QList>

// One game's list as the server finder takes it in at each hand-over: what the
// filters read of its servers and the map and gametype choices they offer. While a
// scan runs its list only grows at its end, and only the servers added since the last
// hand-over are read: the hand-over that ends a scan reads its own few records, not
// the whole list again.
class GatheredServers {
public:
    // Takes in the list: the servers after those taken in when it starts with them,
    // else the whole list anew.
    void takeIn(const QList<CodServerPtr>& list);
    // Reads the server's record again, after its query again filled it anew.
    void refresh(const CodServerPtr& server);

    const FoundServers& servers() const { return found; }
    const GameChoices& choices() const { return gameChoices; }

private:
    void offerChoicesOf(int place);

    FoundServers found;
    GameChoices gameChoices;
};
