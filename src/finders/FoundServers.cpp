#include "finders/FoundServers.h"

#include "finders/ListStart.h"

#include <algorithm>
#include <atomic>
#include <numeric>

quint64 FoundServers::newArrangement()
{
    static std::atomic<quint64> arrangements = 0;
    return ++arrangements;
}

FoundServers::FoundServers(const QList<CodServerPtr>& handedOver)
{
    appendFrom(handedOver);
}

bool FoundServers::startsList(const QList<CodServerPtr>& list) const
{
    return ListStart::holds(list, servers);
}

void FoundServers::appendFrom(const QList<CodServerPtr>& list)
{
    if (list.size() <= qsizetype(servers.size()))
        return;
    const auto added = list.cbegin() + qsizetype(servers.size());
    servers.insert(servers.end(), added, list.cend());
    serverFacts.reserve(servers.size());
    for (auto server = added; server != list.cend(); ++server)
        serverFacts.push_back(ServerFacts::of(**server));
    // Equal servers keep the order of their hand-over: the next order chosen sorts
    // them all from it, with ranks that count the new ones.
    order.resize(servers.size());
    std::iota(order.begin(), order.end(), 0);
    ranks = ColumnRanks();
    orderedBy.reset();
    m_arrangement = newArrangement();
}

void FoundServers::keepIn(const std::optional<ColumnOrder::Choice>& choice)
{
    if (!choice || orderedBy == choice)
        return;
    const std::vector<int>& rank = ranks.of(choice->column, servers, serverFacts);
    const auto placeRank = [&rank](int place) { return rank[std::size_t(place)]; };
    if (choice->order == Qt::AscendingOrder)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return placeRank(a) < placeRank(b); });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return placeRank(b) < placeRank(a); });
    orderedBy = choice;
    m_arrangement = newArrangement();
}

std::vector<int> FoundServers::passing(const ServerFilter& filter) const
{
    return passingAmong(order, filter);
}

std::vector<int> FoundServers::passingAmong(const std::vector<int>& places, const ServerFilter& filter) const
{
    // Folded once here, the name is not folded again for every server.
    ServerFilter folded = filter;
    folded.name = filter.name.toCaseFolded();
    std::vector<int> passed;
    for (const int place : places) {
        if (folded.passes(serverFacts[std::size_t(place)]))
            passed.push_back(place);
    }
    return passed;
}

int FoundServers::placeOf(const CodServerPtr& server) const
{
    const auto found = std::find(servers.cbegin(), servers.cend(), server);
    return found == servers.cend() ? -1 : int(found - servers.cbegin());
}

void FoundServers::refresh(const CodServerPtr& server)
{
    const int place = placeOf(server);
    if (place < 0)
        return;
    serverFacts[std::size_t(place)] = ServerFacts::of(*server);
    // Its ranks changed with its record: the next order chosen ranks anew.
    ranks = ColumnRanks();
}
