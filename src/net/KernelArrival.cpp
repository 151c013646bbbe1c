#include "net/KernelArrival.h"

#include <cstring>
#include <ctime>

namespace {

std::chrono::nanoseconds nanosecondsOf(const timespec& time)
{
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace

bool KernelArrival::requestOn(int descriptor)
{
    const int on = 1;
    return ::setsockopt(descriptor, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) == 0;
}

std::chrono::nanoseconds KernelArrival::steadyMinusRealTime()
{
    timespec real{};
    ::clock_gettime(CLOCK_REALTIME, &real);
    const auto steady = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(steady) - nanosecondsOf(real);
}

std::optional<KernelArrival::TimePoint> KernelArrival::of(msghdr& message, std::chrono::nanoseconds steadyMinusReal)
{
    for (cmsghdr* control = CMSG_FIRSTHDR(&message); control; control = CMSG_NXTHDR(&message, control)) {
        if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SCM_TIMESTAMPNS) {
            timespec received{};
            std::memcpy(&received, CMSG_DATA(control), sizeof received);
            return TimePoint(nanosecondsOf(received) + steadyMinusReal);
        }
    }
    return std::nullopt;
}
