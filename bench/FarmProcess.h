#pragma once

#include "FarmListing.h"

#include <QProcess>

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

    // Starts the farm with its master on an ephemeral port and reads its listing;
    // nothing when it could not start.
    std::optional<FarmListing> start(const Shape& shape);

private:
    QProcess process;
};
