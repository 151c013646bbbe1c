#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

// What the history tells of one server over a period: its players over time, the
// maps it changed to, and how busy it is by weekday and hour. Times are seconds
// since 1970 (UTC).
struct ServerHistory {
    // The mean players of the answers in one stretch of the period.
    struct Point {
        qint64 time = 0;
        double players = 0;
    };
    // An answer whose map differs from the answer before it.
    struct MapChange {
        qint64 time = 0;
        QString map;
        int players = 0;
    };
    // Mean players by local weekday (0 Monday to 6 Sunday) and hour; none where no
    // answer came at that hour.
    using BusyHours = std::array<std::array<std::optional<double>, 24>, 7>;

    // Whether the server answered at any time, in this period or before.
    bool known = false;
    QList<Point> players;
    QList<MapChange> mapChanges;
    BusyHours busyHours;
};
