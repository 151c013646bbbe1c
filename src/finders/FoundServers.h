#pragma once

#include "finders/ColumnOrder.h"
#include "finders/ServerFacts.h"
#include "finders/ServerFilter.h"
#include "model/CodServer.h"

#include <QList>

#include <optional>

// One game's servers as the server finder filters and orders them, for lists of a
// hundred thousand servers. What the filters read of each record is taken once, when
// the list is handed over, and the list is kept in the order the table's titles
// chose: a keystroke in a filter is then one pass over plain values, with neither the
// records' locks nor a sort, and its result comes out in the table's order.
class FoundServers {
public:
    FoundServers() = default;
    // The servers in the order they were handed over.
    explicit FoundServers(const QList<CodServerPtr>& servers);

    // Orders the servers as the titles chose, keeping the order of equal ones; nothing
    // to do when they are in that order already, or when no order was chosen.
    void keepIn(const std::optional<ColumnOrder::Choice>& order);
    // The servers that pass the filter, in the order.
    QList<CodServerPtr> passing(const ServerFilter& filter) const;
    // Takes what the filters read of the server again, after its query again filled
    // its record anew; its place stays until the next order is chosen.
    void refresh(const CodServerPtr& server);

private:
    struct Entry {
        CodServerPtr server;
        ServerFacts facts;
    };

    QList<Entry> entries;
    std::optional<ColumnOrder::Choice> orderedBy;
};
