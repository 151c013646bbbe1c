#pragma once

#include <chrono>
#include <deque>

// The limit a game server puts on the status queries of one source address,
// dropping what goes past it: at most two within two seconds (CoD4x servers), or a
// burst of ten and then one a second (ioquake3 servers).
class QueryLimiter {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    static QueryLimiter twoPerTwoSeconds();
    static QueryLimiter burstThenOnePerSecond();

    // Whether a query that comes now is answered; it counts against the limit when it is.
    bool admit(TimePoint now);

private:
    QueryLimiter(int burst, std::chrono::milliseconds window);

    // `burst` queries at most within any `window`, or, for a window of zero, a bucket
    // of `burst` queries refilled by one a second.
    const int burst;
    const std::chrono::milliseconds window;
    std::deque<TimePoint> admitted;
    double tokens;
    TimePoint lastRefill{};
};
