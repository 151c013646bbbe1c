#include "net/DatagramSocket.h"

#include "platform/HostResolution.h"
#include "net/ServerAddress.h"
#include "platform/TextValue.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <vector>

DatagramSocket::DatagramSocket()
    : descriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
{
}

DatagramSocket::~DatagramSocket()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

bool DatagramSocket::setReceiveTimeout(int microseconds)
{
    if (microseconds == 0)
        return false;
    timeval wait{};
    wait.tv_sec = 0;
    wait.tv_usec = microseconds;
    return ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) == 0;
}

// Read as the address check reads it, so that "10.0.0.010" reaches 10.0.0.10 (the
// C library would read an octal 8); a host name is looked up. A favourite stored
// before addresses were checked may hold another form: the C library reads it as it
// always did.
std::optional<in_addr_t> DatagramSocket::ipOfHost(QStringView host)
{
    if (const std::optional<quint32> ip = ServerAddress::ipOfDottedDecimal(host))
        return htonl(*ip);
    if (!ServerAddress::isHostName(host))
        return ::inet_addr(host.toLatin1().constData());
    const std::optional<QString> looked = HostResolution::dottedAddressOf(host.toString());
    const std::optional<quint32> ip = looked ? ServerAddress::ipOfDottedDecimal(*looked) : std::nullopt;
    return ip ? std::optional(htonl(*ip)) : std::nullopt;
}

QString DatagramSocket::connectedAddress() const
{
    return connected.sin_family == AF_INET ? ServerAddress::of(connected).text() : QString();
}

std::optional<ServerAddress> DatagramSocket::addressOf(const QString& address, int portOffset)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    const std::optional<in_addr_t> ip = ipOfHost(QStringView(address).left(colon));
    if (!ip)
        return std::nullopt;
    // Unsigned arithmetic wraps where int would overflow; the cast keeps it modulo 65536.
    const unsigned port = static_cast<unsigned>(TextValue::integerValue(address.mid(colon + 1)))
                          + static_cast<unsigned>(portOffset);
    return ServerAddress{ntohl(*ip), static_cast<quint16>(port)};
}

bool DatagramSocket::connectTo(const QString& address, int portOffset)
{
    const std::optional<ServerAddress> reached = addressOf(address, portOffset);
    if (!reached)
        return false;
    const sockaddr_in peer = reached->socketAddress();
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        return false;
    connected = peer;
    return true;
}

bool DatagramSocket::send(const QByteArray& datagram)
{
    const ssize_t sent = ::send(descriptor, datagram.constData(), static_cast<size_t>(datagram.size()), 0);
    return sent == datagram.size();
}

QByteArray DatagramSocket::receive(std::size_t maxBytes)
{
    std::vector<char> buffer(maxBytes);
    ssize_t received;
    do {
        received = ::recv(descriptor, buffer.data(), buffer.size(), 0);
    } while (received < 0 && errno == EINTR);
    return received > 0 ? QByteArray(buffer.data(), static_cast<qsizetype>(received)) : QByteArray();
}
