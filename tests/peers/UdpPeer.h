#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <netinet/in.h>

// A UDP socket on 127.0.0.1, served by its own thread. It records every datagram it
// receives with its arrival time and hands each to answerTo(), whose datagrams it
// sends back to the sender in order.
class UdpPeer {
public:
    struct Received {
        QByteArray datagram;
        std::chrono::steady_clock::time_point at;
    };

    // On an ephemeral port.
    UdpPeer();
    // On the given port; throws when it is taken.
    explicit UdpPeer(quint16 requestedPort);
    virtual ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    quint16 port() const { return boundPort; }
    QByteArray address() const;

    QList<Received> received() const;
    QList<QByteArray> receivedDatagrams() const;
    // Waits until `count` datagrams have arrived; false if they did not within a while.
    bool waitForReceived(int count) const;

    // Sends one datagram to the address the last request came from.
    void sendToLastSender(const QByteArray& datagram);
    // Sends one datagram from this peer's socket to where the other peer's last request
    // came from: an answer from a port that was not asked.
    void sendToLastSenderOf(const UdpPeer& other, const QByteArray& datagram);

protected:
    // Starts the serving thread; subclasses call it at the end of their constructor.
    void start();
    // Stops the serving thread; subclasses call it first in their destructor.
    void stop();
    // The datagrams that answer one request, sent in the list's order.
    virtual QList<QByteArray> answerTo(const QByteArray& request) = 0;

private:
    void serve();

    int descriptor = -1;
    quint16 boundPort = 0;
    std::atomic<bool> stopping = false;
    std::thread server;
    mutable std::mutex lock;
    // A std::vector rather than a copy-on-write list: readers get a deep copy taken
    // under the lock, so the serving thread never shares storage with them.
    std::vector<Received> log;
    sockaddr_in lastSender{};
};
