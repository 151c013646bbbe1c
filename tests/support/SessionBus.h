#pragma once

#include "support/ChildProcess.h"

#include <QString>

// A D-Bus bus of the test's own: a dbus-daemon with the session bus's configuration,
// run as a child process from construction to destruction, so that nothing reaches
// the user's session bus.
class SessionBus {
public:
    // Throws when the daemon cannot start; the daemon stops with the bus.
    SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // The address that connects to the bus.
    QString address() const { return busAddress; }

private:
    ChildProcess daemon;
    QString busAddress;
};
