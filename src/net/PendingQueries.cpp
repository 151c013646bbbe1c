#include "net/PendingQueries.h"

PendingQueries::PendingQueries(std::chrono::nanoseconds timeout)
    : timeout(timeout)
{
}

bool PendingQueries::list(ServerAddress address)
{
    if (!address.canBeServer() || !byAddress.try_emplace(address.key(), entries.size()).second)
        return false;
    neverAsked.push_back(entries.size());
    entries.push_back({.address = address});
    return true;
}

std::optional<PendingQueries::ToQuery> PendingQueries::nextToQuery(bool retriesAllowed)
{
    std::deque<std::size_t>* queue = &neverAsked;
    if (queue->empty() && retriesAllowed)
        queue = &silent;
    if (queue->empty())
        return std::nullopt;
    const Entry& entry = entries[queue->front()];
    queue->pop_front();
    if (entry.state == State::Listed)
        return ToQuery{entry.address, std::nullopt};
    return ToQuery{entry.address, entry.route};
}

void PendingQueries::refused(ServerAddress address)
{
    Entry* entry = find(address);
    if (!entry || (entry->state != State::Listed && entry->state != State::Silent))
        return;
    ++refusedCount;
    const auto index = static_cast<std::size_t>(entry - entries.data());
    (entry->state == State::Listed ? neverAsked : silent).push_front(index);
}

void PendingQueries::sent(ServerAddress address, TimePoint at, int route)
{
    Entry* entry = find(address);
    if (!entry || (entry->state != State::Listed && entry->state != State::Silent))
        return;
    if (entry->state == State::Listed)
        ++queriedCount;
    else
        entry->retried = true;
    entry->state = State::Waiting;
    entry->route = route;
    entry->sentAt = at;
    ++waitingCount;
    deadlines.push_back({at + timeout, static_cast<std::size_t>(entry - entries.data())});
}

std::optional<PendingQueries::Answered> PendingQueries::answer(ServerAddress from, int route, TimePoint arrival)
{
    Entry* entry = find(from);
    if (!entry || entry->state != State::Waiting || entry->route != route)
        return std::nullopt;
    entry->state = State::Answered;
    --waitingCount;
    ++answeredCount;
    return Answered{from, std::max(arrival - entry->sentAt, std::chrono::nanoseconds::zero())};
}

void PendingQueries::expire(TimePoint now)
{
    while (!deadlines.empty() && deadlines.front().at <= now) {
        Entry& entry = entries[deadlines.front().entry];
        if (entry.state == State::Waiting) {
            --waitingCount;
            entry.state = entry.retried ? State::GivenUp : State::Silent;
            if (!entry.retried)
                silent.push_back(deadlines.front().entry);
        }
        deadlines.pop_front();
    }
}

void PendingQueries::stopAsking()
{
    neverAsked.clear();
    silent.clear();
}

bool PendingQueries::isSettled(bool retriesAllowed) const
{
    return waitingCount == 0 && !hasQueryToSend(retriesAllowed);
}

bool PendingQueries::hasQueryToSend(bool retriesAllowed) const
{
    return !neverAsked.empty() || (retriesAllowed && !silent.empty());
}

std::optional<PendingQueries::TimePoint> PendingQueries::nextTimeout() const
{
    if (waitingCount == 0)
        return std::nullopt;
    return deadlines.front().at;
}

PendingQueries::Entry* PendingQueries::find(ServerAddress address)
{
    const auto found = byAddress.find(address.key());
    return found == byAddress.end() ? nullptr : &entries[found->second];
}
