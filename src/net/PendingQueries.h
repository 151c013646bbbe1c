#pragma once

#include "net/ServerAddress.h"

#include <chrono>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

// The servers of one scan and where each query stands. A server is listed once; its
// first query goes out in list order, and a server that stays silent for the
// time-out may be asked once more, when the caller allows the retries. Each query
// leaves by a route (the local socket it was sent from), and a server answers by the
// route it was asked on; the retry leaves by another route than the first query. An
// answer counts only from a server whose query is waiting, by that query's route: a
// second answer, a late one (also one to the first query that comes after the retry
// went out) or one from an address never queried changes nothing.
class PendingQueries {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Answered {
        ServerAddress address;
        std::chrono::nanoseconds roundTrip;
    };
    // A query to send: the server, and the route its earlier query left by, which the
    // retry must not take.
    struct ToQuery {
        ServerAddress address;
        std::optional<int> routeToAvoid;
    };

    explicit PendingQueries(std::chrono::nanoseconds timeout);

    // Lists a server to query; false, changing nothing, for one listed already or an
    // address no game server can have.
    bool list(ServerAddress address);
    // The next server to ask, taken off its queue: one never asked, or else, when
    // retries are allowed, one that stayed silent once.
    std::optional<ToQuery> nextToQuery(bool retriesAllowed);
    // Its query went out at that time by that route.
    void sent(ServerAddress address, TimePoint at, int route);
    // The system refused to send the query nextToQuery gave: the server is the next
    // to ask again, and the refusal is counted.
    void refused(ServerAddress address);
    // A datagram came from that address by that route: the answer, when the query
    // waiting for it went out by that route.
    std::optional<Answered> answer(ServerAddress from, int route, TimePoint arrival);
    // Queries waiting since one time-out before now are given up.
    void expire(TimePoint now);
    // Nothing more will be asked; queries under way still count.
    void stopAsking();

    int listed() const { return static_cast<int>(entries.size()); }
    int queried() const { return queriedCount; }
    int answered() const { return answeredCount; }
    int refusals() const { return refusedCount; }
    // No query waits and none is left to ask (the silent ones only when retries are
    // allowed).
    bool isSettled(bool retriesAllowed) const;
    // Whether a query could go out now.
    bool hasQueryToSend(bool retriesAllowed) const;
    // When the oldest waiting query times out; nothing when none waits.
    std::optional<TimePoint> nextTimeout() const;

private:
    enum class State : quint8 { Listed, Waiting, Silent, Answered, GivenUp };
    struct Entry {
        ServerAddress address;
        State state = State::Listed;
        bool retried = false;
        int route = 0;
        TimePoint sentAt = {};
    };
    struct Deadline {
        TimePoint at;
        std::size_t entry;
    };

    Entry* find(ServerAddress address);

    const std::chrono::nanoseconds timeout;
    std::vector<Entry> entries;
    std::unordered_map<quint64, std::size_t> byAddress;
    // Entries to ask for the first time, then the silent ones to ask again, in order.
    std::deque<std::size_t> neverAsked;
    std::deque<std::size_t> silent;
    // The waiting queries in the order they went out, which is the order of their
    // deadlines since every query gets the same time-out.
    std::deque<Deadline> deadlines;
    int queriedCount = 0;
    int answeredCount = 0;
    int refusedCount = 0;
    int waitingCount = 0;
};
