#pragma once

#include "net/ServerAddress.h"

#include <array>
#include <chrono>
#include <deque>
#include <optional>
#include <queue>
#include <unordered_map>
#include <vector>

// The servers of one scan and where each query stands. A server is listed once; its
// first query goes out in list order, and a server that stays silent for the
// time-out is asked again, up to the scan's number of tries, as soon as its server's
// rate limit allows: no server gets a third query within rateWindow of the one two
// before it (servers drop what comes faster, silently). Each try leaves by a route
// (the local socket it was sent from) that no earlier try of that server took, and a
// server answers by the route it was asked on, so an answer names the try it answers.
// An answer counts once per server, even a late one to an earlier try that comes
// while the scan runs: its round trip is measured from that try's send.
class PendingQueries {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // The most tries of one server; each takes its own route.
    static constexpr int mostTries = 5;
    // Two queries at most to one server within this time, two seconds with a margin
    // for the way there, which can bring two queries closer together.
    static constexpr std::chrono::milliseconds rateWindow{2050};

    struct Answered {
        ServerAddress address;
        std::chrono::nanoseconds roundTrip;
    };
    // A query to send: the server, its entry, which try it is (0 for the first) and
    // the routes its earlier tries took, one bit each, which this one must not take.
    struct ToQuery {
        ServerAddress address;
        std::size_t entry;
        int attempt;
        quint32 routesToAvoid;
    };

    // Tries are clamped to 1 .. mostTries.
    PendingQueries(std::chrono::nanoseconds timeout, int tries);

    // Lists a server to query; false, changing nothing, for one listed already or an
    // address no game server can have.
    bool list(ServerAddress address);
    // The next server to ask, taken off its queue: one never asked, or else a silent
    // one whose next try is due. The first pass goes first: it ends the sooner, and
    // the retries that wait meanwhile still end within the last server's own tries.
    std::optional<ToQuery> nextToQuery(TimePoint now);
    // Its query went out at that time by that route (below 32).
    void sent(const ToQuery& query, TimePoint at, int route);
    // The system refused to send the query nextToQuery gave: the server is the next
    // to ask again, and the refusal is counted.
    void refused(const ToQuery& query);
    // A datagram came from that address by that route: the answer, when a try of that
    // server went out by that route and the server has not answered yet.
    std::optional<Answered> answerByRoute(ServerAddress from, int route, TimePoint arrival);
    // An answer that names the try it answers (its entry and attempt): counted like
    // one by route, when the entry is that server's and that try went out.
    std::optional<Answered> answerToTry(ServerAddress from, std::size_t entry, int attempt, TimePoint arrival);
    // Queries waiting since one time-out before now are given up.
    void expire(TimePoint now);
    // Nothing more will be asked; queries under way still count.
    void stopAsking();

    int listed() const { return static_cast<int>(entries.size()); }
    int queried() const { return queriedCount; }
    int answered() const { return answeredCount; }
    int refusals() const { return refusedCount; }
    // No query waits and none is left to ask.
    bool isSettled() const;
    // Whether a query could go out now.
    bool hasQueryToSend(TimePoint now) const;
    // When a query is next due: TimePoint::min() when one never asked waits, else the
    // earliest retry; nothing when no query is left to ask.
    std::optional<TimePoint> nextQueryDue() const;
    // When the oldest waiting query times out; nothing when none waits.
    std::optional<TimePoint> nextTimeout() const;

private:
    enum class State : quint8 { Listed, Waiting, Silent, Answered, GivenUp };
    struct Try {
        TimePoint sentAt;
        int route;
    };
    struct Entry {
        ServerAddress address;
        State state = State::Listed;
        quint8 attempts = 0;
        std::array<Try, mostTries> tries = {};
    };
    struct Deadline {
        TimePoint at;
        std::size_t entry;
    };
    struct Retry {
        TimePoint due;
        std::size_t entry;
        bool operator>(const Retry& other) const { return due > other.due; }
    };

    Entry* find(ServerAddress address);
    std::optional<Answered> settle(Entry& entry, int attempt, TimePoint arrival);
    void scheduleRetry(std::size_t index, TimePoint now);
    void dropStaleRetries();

    const std::chrono::nanoseconds timeout;
    const int tries;
    std::vector<Entry> entries;
    std::unordered_map<quint64, std::size_t> byAddress;
    std::deque<std::size_t> neverAsked;
    // The silent servers to ask again, the earliest due on top.
    std::priority_queue<Retry, std::vector<Retry>, std::greater<>> retries;
    // The waiting queries in the order they went out, which is the order of their
    // deadlines since every query gets the same time-out.
    std::deque<Deadline> deadlines;
    int queriedCount = 0;
    int answeredCount = 0;
    int refusedCount = 0;
    int waitingCount = 0;
    // The servers waiting for their next try.
    int silentCount = 0;
    bool stopped = false;
};
