#include "net/ScanSocket.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace {

// Datagrams read by one system call.
constexpr std::size_t batchSize = 16;

std::chrono::nanoseconds nanosecondsOf(const timespec& time)
{
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

// How far the steady clock is ahead of the real-time clock the kernel stamps with.
std::chrono::nanoseconds steadyMinusRealTime()
{
    timespec real{};
    ::clock_gettime(CLOCK_REALTIME, &real);
    const auto steady = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(steady) - nanosecondsOf(real);
}

}  // namespace

ScanSocket::ScanSocket(std::size_t bytesPerDatagram)
    : datagramBytes(bytesPerDatagram)
    , descriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
    , buffers(std::make_unique_for_overwrite<char[]>(batchSize * bytesPerDatagram))
    , senders(batchSize)
    , pieces(batchSize)
    , controls(batchSize)
    , messages(batchSize)
{
    const int on = 1;
    if (descriptor >= 0)
        ::setsockopt(descriptor, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

ScanSocket::~ScanSocket()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

void ScanSocket::requestReceiveBuffer(int bytes)
{
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

bool ScanSocket::sendTo(ServerAddress to, const QByteArray& datagram)
{
    const sockaddr_in peer = to.socketAddress();
    const ssize_t sent = ::sendto(descriptor, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
                                  reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent == datagram.size();
}

void ScanSocket::receive(int most, const Take& take)
{
    for (int taken = 0; taken < most;) {
        const int count = receiveBatch();
        if (count <= 0)
            return;
        const std::chrono::nanoseconds offset = steadyMinusRealTime();
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<std::size_t>(i);
            if (messages[index].msg_hdr.msg_flags & MSG_TRUNC)
                ++cutCount;
            const QByteArrayView datagram(buffers.get() + index * datagramBytes,
                                          std::min<qsizetype>(messages[index].msg_len, qsizetype(datagramBytes)));
            take(ServerAddress::of(senders[index]), datagram, arrivalOf(i, offset));
        }
        taken += count;
        if (static_cast<std::size_t>(count) < batchSize)
            return;
    }
}

int ScanSocket::receiveBatch()
{
    for (std::size_t i = 0; i < batchSize; ++i) {
        pieces[i] = {buffers.get() + i * datagramBytes, datagramBytes};
        msghdr& header = messages[i].msg_hdr;
        header = {};
        header.msg_name = &senders[i];
        header.msg_namelen = sizeof senders[i];
        header.msg_iov = &pieces[i];
        header.msg_iovlen = 1;
        header.msg_control = controls[i].data();
        header.msg_controllen = controls[i].size();
    }
    int count;
    do {
        count = ::recvmmsg(descriptor, messages.data(), batchSize, MSG_DONTWAIT, nullptr);
    } while (count < 0 && errno == EINTR);
    return count;
}

// The kernel's receive time on the steady clock, or now when the kernel gave none.
ScanSocket::TimePoint ScanSocket::arrivalOf(int message, std::chrono::nanoseconds steadyMinusReal)
{
    msghdr& header = messages[static_cast<std::size_t>(message)].msg_hdr;
    for (cmsghdr* control = CMSG_FIRSTHDR(&header); control; control = CMSG_NXTHDR(&header, control)) {
        if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SCM_TIMESTAMPNS) {
            timespec received{};
            std::memcpy(&received, CMSG_DATA(control), sizeof received);
            return TimePoint(nanosecondsOf(received) + steadyMinusReal);
        }
    }
    return std::chrono::steady_clock::now();
}
