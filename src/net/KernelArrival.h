#pragma once

#include <chrono>
#include <optional>

#include <sys/socket.h>

// The time the kernel received a datagram, as recvmsg hands it on a socket that asked
// for it (SO_TIMESTAMPNS), put on the steady clock. A datagram that waited in the
// socket while its reader was busy keeps the time it came.
class KernelArrival {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // The space a message's control data needs for the time.
    static constexpr std::size_t controlBytes = CMSG_SPACE(sizeof(timespec));

    // Asks the kernel to stamp every datagram the socket receives; false when it
    // refused.
    static bool requestOn(int descriptor);
    // How far the steady clock is ahead of the real-time clock the kernel stamps with,
    // now: taken once for a batch of datagrams read together.
    static std::chrono::nanoseconds steadyMinusRealTime();
    // The datagram's kernel time on the steady clock; nothing when the message carries
    // none.
    static std::optional<TimePoint> of(msghdr& message, std::chrono::nanoseconds steadyMinusReal);
};
