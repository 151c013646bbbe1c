#pragma once

#include "FarmListing.h"

#include <QHash>
#include <QProcess>
#include <QString>

#include <optional>

// zorvel-farm running beside the benchmark, ended with it.
class FarmProcess {
public:
    struct Shape {
        unsigned seed;
        int servers;
        int minimumDelayMs;
        int maximumDelayMs;
        double silentFraction;
        // The farm's faults, as its FAULT=VALUE arguments.
        QStringList faults = {};
    };

    ~FarmProcess();

    // How late the farm's answers left against their due time, in milliseconds: the
    // spread over every answer, and the lateness of each server that sent one answer
    // alone, by address.
    struct Lateness {
        double p50Ms = 0.0;
        double p99Ms = 0.0;
        double maxMs = 0.0;
        QHash<QString, double> onceAnsweredMs;
    };

    // Starts the farm with its master on an ephemeral port and reads its listing;
    // nothing when it could not start.
    std::optional<FarmListing> start(const Shape& shape);
    // The lateness of the answers sent since the last call (or the start); nothing
    // when the farm did not tell.
    std::optional<Lateness> takeLateness();

private:
    QProcess process;
};
