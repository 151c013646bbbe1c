#pragma once

#include <QString>

// Points the process-wide preference store at a new file in a private temporary
// folder, so no test reads or writes the user's settings.
class TestPreferences {
public:
    static void installFresh();
    // Opens the process-wide store's file again, as a new run does, after a test
    // wrote into it by hand.
    static void reopen();
    // Points the store at a file that cannot be written, even by root: its folder's
    // place is taken by a regular file.
    static void installUnwritable();
    // Sets the receive time-out of every exchange (microseconds), within the settings'
    // range; throws for one outside it, which they would read as the default.
    static void setTimeout(int microseconds);
    // Points the game's master ("CoD", "UO", "CoD2" or "CoD4") at the port of 127.0.0.1,
    // the only master its scans ask.
    static void pointMaster(const QString& game, int port);
    // The speed slider's stored value: 25 sets the fastest pace, 2000 the slowest.
    static void setSpeed(int serversByThread);
};
