#pragma once

#include "net/ServerAddress.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>

#include <netinet/in.h>

// An IPv4 UDP socket that lives for one exchange: created open, closed on
// destruction, whatever path the exchange takes.
class DatagramSocket {
public:
    DatagramSocket();
    ~DatagramSocket();
    DatagramSocket(const DatagramSocket&) = delete;
    DatagramSocket& operator=(const DatagramSocket&) = delete;

    bool isOpen() const { return descriptor >= 0; }

    // Each receive waits at most this long: 0 seconds plus the given microseconds.
    // Fails, as the system does, for a value outside 0 to 999999, and for 0, which
    // would make a receive wait forever.
    bool setReceiveTimeout(int microseconds);

    // Connects to "a.b.c.d:port" or "host.name:port": the part before the first colon
    // as a dotted IPv4 address or a host name to look up, the leading digits after it
    // plus portOffset as the port, modulo 65536. Only datagrams from that address and
    // port are received. False when the name has no address or connect fails.
    bool connectTo(const QString& address, int portOffset = 0);
    // "a.b.c.d:port" that connectTo() reached; empty before it did.
    QString connectedAddress() const;
    // The address connectTo() reaches for that text and port offset; nothing when it
    // has no colon or its host name has no address.
    static std::optional<ServerAddress> addressOf(const QString& address, int portOffset = 0);

    bool send(const QByteArray& datagram);

    // The next datagram, cut to maxBytes; empty when none came within the time-out.
    QByteArray receive(std::size_t maxBytes);

private:
    static std::optional<in_addr_t> ipOfHost(QStringView host);

    int descriptor;
    sockaddr_in connected{};
};
