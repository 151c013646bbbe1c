#include "support/SessionBus.h"

#include <stdexcept>

SessionBus::SessionBus()
    : daemon({.program = QStringLiteral("dbus-daemon"),
              .arguments = {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")}})
{
    // The daemon prints its address once it listens.
    busAddress = QString::fromUtf8(daemon.readLine()).trimmed();
    if (busAddress.isEmpty())
        throw std::runtime_error("dbus-daemon did not start or printed no address");
}
