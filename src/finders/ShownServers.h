#pragma once

#include "finders/FoundServers.h"
#include "finders/ServerFilter.h"
#include "model/CodServer.h"

#include <QList>

#include <optional>
#include <vector>

// The servers the server finder's table shows: those of one game's found servers
// that pass the filters, in the table's order, held as their places in that list.
// When the next filter only narrows the last one, as a letter typed at the end of
// the name does, and the list and its order are those shown, only the servers shown
// are looked at again.
class ShownServers {
public:
    // Shows the servers of the list that pass the filter, in the list's order.
    void show(const FoundServers& servers, const ServerFilter& filter);
    // Shows nothing, before the list shown goes.
    void forget();

    qsizetype size() const { return qsizetype(places.size()); }
    const CodServerPtr& at(qsizetype row) const;
    // The server's row, or -1 when it is not shown.
    qsizetype rowOf(const CodServerPtr& server) const;
    QList<CodServerPtr> servers() const;

private:
    const FoundServers* shownFrom = nullptr;
    // The arrangement of the list and the filter that the places came from.
    quint64 arrangement = 0;
    std::optional<ServerFilter> shownBy;
    std::vector<int> places;
};
