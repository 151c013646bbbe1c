#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <netinet/in.h>

#include <optional>
#include <utility>

// An IPv4 UDP socket allowed to send to broadcast addresses, living for one exchange:
// it sends to any address and port, and receives from anyone.
class BroadcastSocket {
public:
    BroadcastSocket();
    ~BroadcastSocket();
    BroadcastSocket(const BroadcastSocket&) = delete;
    BroadcastSocket& operator=(const BroadcastSocket&) = delete;

    // Allows broadcasts and sets the receive time-out (1 to 999999 microseconds);
    // false when the socket cannot be used.
    bool prepare(int timeoutMicroseconds) const;
    void sendTo(const QByteArray& datagram, in_addr_t ip, quint16 port) const;
    // The next datagram and its sender; nothing once a time-out passed in silence.
    std::optional<std::pair<QByteArray, sockaddr_in>> receive() const;

private:
    const int descriptor;
};
