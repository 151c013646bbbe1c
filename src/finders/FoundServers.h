#pragma once

#include "finders/ColumnOrder.h"
#include "finders/ColumnRanks.h"
#include "finders/ServerFacts.h"
#include "finders/ServerFilter.h"
#include "model/CodServer.h"

#include <QList>
#include <QtGlobal>

#include <optional>
#include <vector>

// One game's servers as the server finder filters and orders them, for lists of a
// hundred thousand servers. Each server keeps the place its hand-over gave it; what
// the filters read of it is taken once, at the hand-over, and the places are kept in
// the order the table's titles chose. A keystroke in a filter is then one pass over
// plain values and its result, places in the table's order, touches no record.
class FoundServers {
public:
    FoundServers() = default;
    // The servers in the order they were handed over.
    explicit FoundServers(const QList<CodServerPtr>& servers);

    // Whether the list holds these servers at its start, as a scan's list grows.
    bool startsList(const QList<CodServerPtr>& list) const;
    // Takes in the servers of the list after the first size() ones, in the list's
    // order; the order chosen is chosen again.
    void appendFrom(const QList<CodServerPtr>& list);
    int size() const { return int(servers.size()); }

    // Orders the servers as the titles chose, keeping the order of equal ones; nothing
    // to do when they are in that order already, or when no order was chosen.
    void keepIn(const std::optional<ColumnOrder::Choice>& order);
    // The places of the servers that pass the filter, in the order.
    std::vector<int> passing(const ServerFilter& filter) const;
    // Those of the places whose servers pass the filter, in the places' order.
    std::vector<int> passingAmong(const std::vector<int>& places, const ServerFilter& filter) const;
    const CodServerPtr& server(int place) const { return servers[std::size_t(place)]; }
    const ServerFacts& facts(int place) const { return serverFacts[std::size_t(place)]; }
    // The server's place, or -1 when it is not in the list.
    int placeOf(const CodServerPtr& server) const;
    // Takes what the filters read of the server again, after its query again filled
    // its record anew; its place stays until the next order is chosen.
    void refresh(const CodServerPtr& server);
    // Which list, in which order, this is: a number that no other list or order of the
    // run had, so that places taken from it are known to be its places in its order.
    quint64 arrangement() const { return m_arrangement; }

private:
    static quint64 newArrangement();

    std::vector<CodServerPtr> servers;
    std::vector<ServerFacts> serverFacts;
    // The places, in the table's order.
    std::vector<int> order;
    ColumnRanks ranks;
    std::optional<ColumnOrder::Choice> orderedBy;
    quint64 m_arrangement = newArrangement();
};
