#pragma once

#include <chrono>

// The steady pace of a scan's queries: so many a second, evenly spread. A scan that
// falls behind (its thread was held up) may catch up by a short burst only, and one
// that had nothing to send saves no more than that burst.
class ScanPacer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    ScanPacer(int queriesPerSecond, TimePoint start);

    // How many queries may go out now.
    int allowance(TimePoint now);
    // That many went out.
    void spend(int queries) { credit -= queries; }
    // When the next query may go out.
    TimePoint nextQuery() const;

private:
    const double perSecond;
    // The burst, in queries: five milliseconds' worth, at least one.
    const double mostCredit;
    double credit;
    TimePoint lastUpdate;
};
