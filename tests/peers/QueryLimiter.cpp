#include "peers/QueryLimiter.h"

#include <algorithm>

QueryLimiter QueryLimiter::twoPerTwoSeconds()
{
    return QueryLimiter(2, std::chrono::seconds(2));
}

QueryLimiter QueryLimiter::burstThenOnePerSecond()
{
    return QueryLimiter(10, std::chrono::milliseconds::zero());
}

QueryLimiter::QueryLimiter(int burst, std::chrono::milliseconds window)
    : burst(burst)
    , window(window)
    , tokens(burst)
{
}

bool QueryLimiter::admit(TimePoint now)
{
    if (window == std::chrono::milliseconds::zero()) {
        if (lastRefill != TimePoint{})
            tokens = std::min<double>(burst, tokens + std::chrono::duration<double>(now - lastRefill).count());
        lastRefill = now;
        if (tokens < 1.0)
            return false;
        tokens -= 1.0;
        return true;
    }
    while (!admitted.empty() && now - admitted.front() >= window)
        admitted.pop_front();
    if (static_cast<int>(admitted.size()) >= burst)
        return false;
    admitted.push_back(now);
    return true;
}
