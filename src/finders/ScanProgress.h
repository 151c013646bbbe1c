#pragma once

#include "net/PacedScan.h"

#include <QString>

// Where one game's master scan stands, as the windows tell it.
struct ScanProgress {
    bool running = false;
    // The user asked the scan to stop: it queries nothing more and ends within one
    // time-out.
    bool stopped = false;
    ScanCounts counts;

    // "Call of Duty 4: 3,412 of 10,000 queried, 3,001 answered", with "stopped, "
    // after the game's name once a stop was asked; the numbers are written the way
    // the user's locale writes them.
    QString text(const QString& gameName) const;
    // What is told of a scan that ended with servers: "540 servers in database", "1
    // server in database", with " (stopped)" after a scan that was stopped.
    static QString serversInDatabase(int kept, bool stopped);
};
