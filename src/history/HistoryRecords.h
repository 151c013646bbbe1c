#pragma once

#include <QList>
#include <QString>

// The plain values that go in and out of the history: how long it keeps what, and the
// answers to its questions. Times are seconds since 1970 (UTC).

// How long the history keeps answers, by where they came from, and how large it grows.
struct HistoryRetention {
    // The longest the settings may ask for: a hundred years, and a terabyte.
    static constexpr int longestDays = 36500;
    static constexpr int largestSizeMegabytes = 1024 * 1024;

    // Favourites and watched servers.
    int favouriteDays = 90;
    // Master scans and the finders.
    int scanDays = 14;
    qint64 sizeLimitBytes = 200LL * 1024 * 1024;
};

// One answer of a server, as a point of its players over time.
struct PlayerCount {
    qint64 time = 0;
    int players = 0;
    int maxPlayers = 0;
    QString map;
};

// One stay of a player on a server: from the first to the last answer that listed
// the player without a pause.
struct Sighting {
    QString name;
    QString rawName;
    QString address;
    // The server's name and game in its last recorded answer.
    QString serverName;
    QString game;
    qint64 firstSeen = 0;
    qint64 lastSeen = 0;
};
