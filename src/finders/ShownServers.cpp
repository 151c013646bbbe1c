#include "finders/ShownServers.h"

#include <algorithm>

void ShownServers::show(const FoundServers& servers, const ServerFilter& filter)
{
    const bool narrowing = arrangement == servers.arrangement() && shownBy && filter.narrows(*shownBy);
    places = narrowing ? servers.passingAmong(places, filter) : servers.passing(filter);
    shownFrom = &servers;
    arrangement = servers.arrangement();
    shownBy = filter;
}

void ShownServers::forget()
{
    shownFrom = nullptr;
    arrangement = 0;
    shownBy.reset();
    places.clear();
}

const CodServerPtr& ShownServers::at(qsizetype row) const
{
    return shownFrom->server(places[std::size_t(row)]);
}

qsizetype ShownServers::rowOf(const CodServerPtr& server) const
{
    const int place = shownFrom && server ? shownFrom->placeOf(server) : -1;
    const auto found = std::find(places.cbegin(), places.cend(), place);
    return place < 0 || found == places.cend() ? -1 : qsizetype(found - places.cbegin());
}

QList<CodServerPtr> ShownServers::servers() const
{
    QList<CodServerPtr> shown;
    shown.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        shown.append(at(row));
    return shown;
}
