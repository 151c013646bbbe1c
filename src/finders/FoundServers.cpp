#include "finders/FoundServers.h"

#include "finders/ServerColumns.h"

#include <algorithm>

FoundServers::FoundServers(const QList<CodServerPtr>& servers)
{
    entries.reserve(servers.size());
    for (const CodServerPtr& server : servers)
        entries.append({server, ServerFacts::of(*server)});
}

void FoundServers::keepIn(const std::optional<ColumnOrder::Choice>& order)
{
    if (!order || orderedBy == order)
        return;
    ColumnOrder::sortRows(
        entries, [&column = order->column](const Entry& entry) { return ServerColumns::sortKey(*entry.server, column); },
        order->order);
    orderedBy = order;
}

QList<CodServerPtr> FoundServers::passing(const ServerFilter& filter) const
{
    QList<CodServerPtr> passed;
    for (const Entry& entry : entries) {
        if (filter.passes(entry.facts))
            passed.append(entry.server);
    }
    return passed;
}

void FoundServers::refresh(const CodServerPtr& server)
{
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&server](const Entry& entry) { return entry.server == server; });
    if (found != entries.end())
        found->facts = ServerFacts::of(*server);
}
