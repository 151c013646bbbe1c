#pragma once

#include <chrono>

// The steady pace of a scan's queries: so many a second, evenly spread. A scan that
// falls behind (its thread was held up) may catch up by a short burst only, and one
// that had nothing to send saves no more than that burst. The scans that run at once
// share one pacer: their queries together keep its pace.
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
    // Goes on at that pace from now on.
    void setPace(int queriesPerSecond);

private:
    double perSecond = 1.0;
    // The burst, in queries: twenty milliseconds' worth, at least one.
    double mostCredit = 1.0;
    double credit;
    TimePoint lastUpdate;
};
