#pragma once

#include <QStringList>

#include <optional>

// quakestat querying the same servers as a scan: one query each, no retries, the
// scan's time-out, at most `simultaneous` queries in flight.
class QstatRun {
public:
    // The wall time of the run in seconds; nothing when quakestat could not run.
    static std::optional<double> seconds(const QStringList& addresses, int simultaneous, double timeoutSeconds);
};
