#include "net/PendingQueries.h"

#include <algorithm>

PendingQueries::PendingQueries(std::chrono::nanoseconds timeout, int tries)
    : timeout(timeout)
    , tries(std::clamp(tries, 1, mostTries))
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

std::optional<PendingQueries::ToQuery> PendingQueries::nextToQuery(TimePoint now)
{
    dropStaleRetries();
    std::size_t index = 0;
    if (!neverAsked.empty()) {
        index = neverAsked.front();
        neverAsked.pop_front();
    } else if (!retries.empty() && retries.top().due <= now) {
        index = retries.top().entry;
        retries.pop();
        --silentCount;
    } else {
        return std::nullopt;
    }
    const Entry& entry = entries[index];
    quint32 routesTaken = 0;
    for (int attempt = 0; attempt < entry.attempts; ++attempt)
        routesTaken |= quint32{1} << entry.tries[static_cast<std::size_t>(attempt)].route;
    return ToQuery{entry.address, index, entry.attempts, routesTaken};
}

void PendingQueries::refused(const ToQuery& query)
{
    ++refusedCount;
    if (query.attempt == 0) {
        neverAsked.push_front(query.entry);
        return;
    }
    // Due at once: it was due already.
    retries.push({TimePoint::min(), query.entry});
    ++silentCount;
}

void PendingQueries::sent(const ToQuery& query, TimePoint at, int route)
{
    Entry& entry = entries[query.entry];
    if (entry.state != State::Listed && entry.state != State::Silent)
        return;
    if (entry.state == State::Listed)
        ++queriedCount;
    entry.state = State::Waiting;
    entry.tries[entry.attempts++] = {at, route};
    ++waitingCount;
    deadlines.push_back({at + timeout, query.entry});
}

std::optional<PendingQueries::Answered> PendingQueries::answerByRoute(ServerAddress from, int route, TimePoint arrival)
{
    Entry* entry = find(from);
    if (!entry)
        return std::nullopt;
    for (int attempt = 0; attempt < entry->attempts; ++attempt) {
        if (entry->tries[static_cast<std::size_t>(attempt)].route == route)
            return settle(*entry, attempt, arrival);
    }
    return std::nullopt;
}

std::optional<PendingQueries::Answered> PendingQueries::answerToTry(ServerAddress from, std::size_t index, int attempt,
                                                                    TimePoint arrival)
{
    if (index >= entries.size() || entries[index].address != from || attempt < 0 || attempt >= entries[index].attempts)
        return std::nullopt;
    return settle(entries[index], attempt, arrival);
}

// A second answer, to any try, changes nothing.
std::optional<PendingQueries::Answered> PendingQueries::settle(Entry& entry, int attempt, TimePoint arrival)
{
    if (entry.state == State::Answered)
        return std::nullopt;
    if (entry.state == State::Waiting)
        --waitingCount;
    if (entry.state == State::Silent)
        --silentCount;
    entry.state = State::Answered;
    ++answeredCount;
    const TimePoint sentAt = entry.tries[static_cast<std::size_t>(attempt)].sentAt;
    return Answered{entry.address, std::max(arrival - sentAt, std::chrono::nanoseconds::zero())};
}

void PendingQueries::expire(TimePoint now)
{
    while (!deadlines.empty() && deadlines.front().at <= now) {
        const Deadline deadline = deadlines.front();
        deadlines.pop_front();
        Entry& entry = entries[deadline.entry];
        if (entry.state != State::Waiting)
            continue;
        --waitingCount;
        if (entry.attempts >= tries || stopped) {
            entry.state = State::GivenUp;
            continue;
        }
        entry.state = State::Silent;
        scheduleRetry(deadline.entry, deadline.at);
    }
}

// The next try goes out once its time-out is over and the try two before it is one
// rate window old.
void PendingQueries::scheduleRetry(std::size_t index, TimePoint timedOut)
{
    const Entry& entry = entries[index];
    TimePoint due = timedOut;
    if (entry.attempts >= 2)
        due = std::max(due, entry.tries[static_cast<std::size_t>(entry.attempts - 2)].sentAt + rateWindow);
    retries.push({due, index});
    ++silentCount;
}

// A server that answered a late try while it waited to be asked again leaves a stale
// retry behind.
void PendingQueries::dropStaleRetries()
{
    while (!retries.empty() && entries[retries.top().entry].state != State::Silent)
        retries.pop();
}

void PendingQueries::stopAsking()
{
    stopped = true;
    neverAsked.clear();
    retries = {};
    silentCount = 0;
}

bool PendingQueries::isSettled() const
{
    return waitingCount == 0 && neverAsked.empty() && silentCount == 0;
}

bool PendingQueries::hasQueryToSend(TimePoint now) const
{
    const std::optional<TimePoint> due = nextQueryDue();
    return due && *due <= now;
}

std::optional<PendingQueries::TimePoint> PendingQueries::nextQueryDue() const
{
    if (!neverAsked.empty())
        return TimePoint::min();
    if (silentCount > 0)
        return retries.top().due;
    return std::nullopt;
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
