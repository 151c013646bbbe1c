#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// quakestat querying the servers of a scan. One quakestat process queries slowly
// whatever its options, so its fastest honest run splits the list over processes
// that run at once: each asks every server of its part up to the scan's tries
// ("-retry", the first send counting as a try), with the scan's time-out, all of its
// part in flight.
class QstatRun {
public:
    struct Result {
        double seconds;
        int answers;
    };

    // The wall time from the first start to the last end, and the servers that
    // answered; nothing when a process could not run.
    static std::optional<Result> run(const QStringList& addresses, int processes, double timeoutSeconds, int tries);
    // The servers that answered in quakestat's "-raw ," output: their lines carry a
    // name, a map and numbers; the others say TIMEOUT or DOWN.
    static int answersIn(const QByteArray& output);
};
