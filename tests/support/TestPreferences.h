#pragma once

#include <QString>

// Points the process-wide preference store at a new file in a private temporary
// folder, so no test reads or writes the user's settings.
class TestPreferences {
public:
    static void installFresh();
    // Sets the receive time-out of every exchange (microseconds).
    static void setTimeout(int microseconds);
};
