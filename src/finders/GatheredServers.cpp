#include "finders/GatheredServers.h"

void GatheredServers::takeIn(const QList<CodServerPtr>& list)
{
    if (!found.startsList(list))
        *this = {};
    const int known = found.size();
    found.appendFrom(list);
    for (int place = known; place < found.size(); ++place)
        offerChoicesOf(place);
}

void GatheredServers::refresh(const CodServerPtr& server)
{
    found.refresh(server);
    if (const int place = found.placeOf(server); place >= 0)
        offerChoicesOf(place);
}

void GatheredServers::offerChoicesOf(int place)
{
    gameChoices.add(found.facts(place).gametype, found.facts(place).map);
}
