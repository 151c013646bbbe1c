#include "app/FavouritesRefresh.h"

#include "net/DatagramSocket.h"
#include "net/ScanEngine.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

// A silent server holds its UT2004 query for two time-outs (two query ports): so many
// run side by side, so that a run over many silent favourites ends in a few.
constexpr std::size_t mostUt2004QueriesAtOnce = 16;

}  // namespace

FavouritesRefresh::FavouritesRefresh(ScanEngine& engine, ScanSettings settings)
    : engine(engine)
    , settings(std::move(settings))
{
}

void FavouritesRefresh::run(const QList<CodServerPtr>& favourites, std::stop_token stop, const Refreshed& refreshed)
{
    std::vector<Favourite> claimed = claim(favourites);
    lookUpAddresses(claimed);
    queryStatus(claimed, stop, refreshed);

    std::vector<Favourite> silent;
    std::vector<Favourite> answered;
    for (Favourite& each : claimed)
        (each.answered ? answered : silent).push_back(std::move(each));
    for (const Favourite& each : silent) {
        each.server->statusUnanswered();
        each.server->endRefresh();
        refreshed(each.server, each.nameBefore);
    }
    // Without an address the UT2004 query reaches nothing either.
    std::erase_if(silent, [](const Favourite& each) { return !each.address; });
    const std::jthread ut2004([&silent, stop, &refreshed] { tryAsUt2004(silent, stop, refreshed); });
    listConfigurations(answered, stop);
    for (const Favourite& each : answered)
        each.server->endRefresh();
}

std::vector<FavouritesRefresh::Favourite> FavouritesRefresh::claim(const QList<CodServerPtr>& favourites)
{
    std::vector<Favourite> claimed;
    for (const CodServerPtr& server : favourites) {
        if (server->beginRefresh())
            claimed.push_back({server, server->serverName(), std::nullopt});
    }
    return claimed;
}

// As an exchange does, so that the window tells where a host name led, or that it
// led nowhere.
void FavouritesRefresh::lookUpAddresses(std::vector<Favourite>& claimed)
{
    for (Favourite& each : claimed) {
        const QString text = each.server->serverIp();
        each.address = DatagramSocket::addressOf(text);
        const QString reached = each.address ? each.address->text() : QString();
        each.server->setServerResolvedIp(reached != text ? reached : QString());
    }
}

// Answers fill their favourites on the engine's thread; the scan's end, or its
// abandon on a stop, orders them before what follows on this thread.
void FavouritesRefresh::queryStatus(std::vector<Favourite>& claimed, std::stop_token stop, const Refreshed& refreshed)
{
    std::unordered_multimap<quint64, Favourite*> byAddress;
    QList<ServerAddress> addresses;
    for (Favourite& each : claimed) {
        if (!each.address)
            continue;
        if (!byAddress.contains(each.address->key()))
            addresses.append(*each.address);
        byAddress.emplace(each.address->key(), &each);
    }
    if (addresses.isEmpty())
        return;

    std::mutex endLock;
    std::condition_variable_any endChanged;
    bool ended = false;
    ScanReports reports;
    reports.statusArrived = [&byAddress, &refreshed](ServerAddress from, const QString& answer, double milliseconds) {
        const auto [first, last] = byAddress.equal_range(from.key());
        for (auto found = first; found != last; ++found) {
            Favourite& favourite = *found->second;
            favourite.server->statusAnswered(answer, milliseconds);
            favourite.answered = true;
            refreshed(favourite.server, favourite.nameBefore);
        }
    };
    reports.progressed = [](const ScanCounts&) {};
    reports.ended = [&](const ScanCounts&, bool) {
        const std::lock_guard guard(endLock);
        ended = true;
        endChanged.notify_all();
    };
    const ScanEngine::ScanId scan = engine.query(addresses, settings, reports);
    std::unique_lock guard(endLock);
    if (endChanged.wait(guard, stop, [&ended] { return ended; }))
        return;
    guard.unlock();
    engine.abandon(scan);
}

void FavouritesRefresh::tryAsUt2004(const std::vector<Favourite>& silent, std::stop_token stop,
                                    const Refreshed& refreshed)
{
    std::atomic<std::size_t> next = 0;
    const auto queryInTurn = [&] {
        for (std::size_t i = next++; i < silent.size() && !stop.stop_requested(); i = next++) {
            // A refresh the window asked for since the favourite was found silent
            // makes this one return at once, having queried nothing.
            silent[i].server->utServerRefresh();
            refreshed(silent[i].server, silent[i].nameBefore);
        }
    };
    std::vector<std::jthread> queries(std::min(silent.size(), mostUt2004QueriesAtOnce));
    for (std::jthread& each : queries)
        each = std::jthread(queryInTurn);
}

void FavouritesRefresh::listConfigurations(const std::vector<Favourite>& answered, std::stop_token stop)
{
    for (const Favourite& each : answered) {
        if (stop.stop_requested())
            return;
        if (!each.server->serverPass().isEmpty())
            each.server->cfgListRefresh();
    }
}
