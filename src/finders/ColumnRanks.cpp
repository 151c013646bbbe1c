#include "finders/ColumnRanks.h"

#include "finders/ColumnOrder.h"
#include "finders/ServerColumns.h"

#include <algorithm>
#include <utility>

namespace {

std::vector<int> ranksIn(const QString& column, const std::vector<CodServerPtr>& servers,
                         const std::vector<ServerFacts>& facts)
{
    std::vector<std::pair<ColumnOrder::Key, int>> keyed;
    keyed.reserve(servers.size());
    for (std::size_t place = 0; place < servers.size(); ++place)
        keyed.emplace_back(ColumnOrder::comparable(ServerColumns::sortKey(*servers[place], facts[place], column)),
                           int(place));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return ColumnOrder::isLess(a.first, b.first); });
    std::vector<int> ranks(servers.size());
    int rank = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && ColumnOrder::isLess(keyed[i - 1].first, keyed[i].first))
            ++rank;
        ranks[std::size_t(keyed[i].second)] = rank;
    }
    return ranks;
}

}  // namespace

const std::vector<int>& ColumnRanks::of(const QString& column, const std::vector<CodServerPtr>& servers,
                                        const std::vector<ServerFacts>& facts)
{
    auto found = ranks.find(column);
    if (found == ranks.end())
        found = ranks.insert(column, ranksIn(column, servers, facts));
    return *found;
}
