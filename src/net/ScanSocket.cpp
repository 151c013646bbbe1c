#include "net/ScanSocket.h"

#include <cerrno>

#include <unistd.h>

namespace {

// Datagrams read by one system call.
constexpr std::size_t batchSize = 16;

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
    if (descriptor >= 0)
        KernelArrival::requestOn(descriptor);
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
        const std::chrono::nanoseconds offset = KernelArrival::steadyMinusRealTime();
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
    return KernelArrival::of(messages[static_cast<std::size_t>(message)].msg_hdr, steadyMinusReal)
        .value_or(std::chrono::steady_clock::now());
}
