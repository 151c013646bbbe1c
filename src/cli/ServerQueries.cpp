#include "cli/ServerQueries.h"


#include <atomic>
#include <thread>
#include <vector>

QList<QueriedServer> ServerQueries::run(const QList<Target>& targets)
{
    std::vector<std::optional<QueriedServer>> results(static_cast<size_t>(targets.size()));
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype at = next++; at < targets.size(); at = next++)
            results[static_cast<size_t>(at)] = query(targets.at(at));
    };
    {
        std::vector<std::jthread> threads;
        const qsizetype count = std::min<qsizetype>(targets.size(), maximumInFlight);
        for (qsizetype i = 0; i < count; ++i)
            threads.emplace_back(work);
    }
    QList<QueriedServer> queried;
    for (std::optional<QueriedServer>& result : results)
        queried.append(std::move(*result));
    return queried;
}

QueriedServer ServerQueries::query(const Target& target)
{
    if (target.address) {
        const std::optional<ServerAddress> address = target.address->resolve();
        if (!address)
            return QueriedServer(target.asked, target.record, false);
        target.record->setServerIp(address->text());
    }
    target.record->refreshTryingUt2004();
    return QueriedServer(target.asked, target.record);
}
