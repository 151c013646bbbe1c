#include "net/BroadcastSocket.h"

#include "net/QuakeProtocol.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

BroadcastSocket::BroadcastSocket()
    : descriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
{
}

BroadcastSocket::~BroadcastSocket()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

bool BroadcastSocket::prepare(int timeoutMicroseconds) const
{
    const int on = 1;
    const timeval wait{0, timeoutMicroseconds};
    return descriptor >= 0 && timeoutMicroseconds > 0 && timeoutMicroseconds < 1000000
           && ::setsockopt(descriptor, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0
           && ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) == 0;
}

void BroadcastSocket::sendTo(const QByteArray& datagram, in_addr_t ip, quint16 port) const
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ip;
    to.sin_port = htons(port);
    ::sendto(descriptor, datagram.constData(), size_t(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&to),
             sizeof to);
}

std::optional<std::pair<QByteArray, sockaddr_in>> BroadcastSocket::receive() const
{
    QByteArray datagram(QuakeProtocol::receiveBufferBytes, Qt::Uninitialized);
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t got = ::recvfrom(descriptor, datagram.data(), size_t(datagram.size()), 0,
                                   reinterpret_cast<sockaddr*>(&from), &length);
    if (got < 0)
        return std::nullopt;
    datagram.truncate(got);
    return std::pair{datagram, from};
}
