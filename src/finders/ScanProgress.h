#pragma once

#include "net/MasterOutcome.h"
#include "net/PacedScan.h"

#include <QList>

#include <QString>

// Where one game's master scan stands, as the windows tell it.
struct ScanProgress {
    bool running = false;
    // The user asked the scan to stop: it queries nothing more and ends within one
    // time-out.
    bool stopped = false;
    ScanCounts counts;
    // What became of each master the scan asked, so far.
    QList<MasterOutcome> masters = {};

    // "Call of Duty 4: 3,412 of 10,000 queried, 3,001 answered", with "stopped, "
    // after the game's name once a stop was asked; the numbers are written the way
    // the user's locale writes them.
    QString text(const QString& gameName) const;
    // What is told of a scan that ended with servers: "540 servers in database", "1
    // server in database", with " (stopped)" after a scan that was stopped.
    static QString serversInDatabase(int kept, bool stopped);
    // The game row's tip: one line per master, "cod4master.activision.com:20810:
    // listed 1,234", "master.example.org:20810: host not found"; empty before any
    // master told its outcome.
    QString mastersTip() const;
};
