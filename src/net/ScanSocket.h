#pragma once

#include "net/KernelArrival.h"
#include "net/ServerAddress.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <sys/socket.h>

// A non-blocking IPv4 UDP socket of a scan, on an ephemeral port, that reads the
// datagrams waiting on it in batches and gives each the time the kernel received it.
// Those times, not the time a batch is read, make the pings true while the socket
// holds a backlog. A datagram longer than the socket's datagram size is cut to it,
// and counted.
class ScanSocket {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Take = std::function<void(ServerAddress from, QByteArrayView datagram, TimePoint arrival)>;

    // Reads datagrams of up to bytesPerDatagram each.
    explicit ScanSocket(std::size_t bytesPerDatagram);
    ~ScanSocket();
    ScanSocket(const ScanSocket&) = delete;
    ScanSocket& operator=(const ScanSocket&) = delete;

    bool isOpen() const { return descriptor >= 0; }
    int fileDescriptor() const { return descriptor; }

    // Asks for a receive buffer of that size; the system gives at most what it lets
    // any user have (SO_RCVBUF, never forced past that limit).
    void requestReceiveBuffer(int bytes);
    // Sends one datagram; false when the system refused it or took only part of it.
    bool sendTo(ServerAddress to, const QByteArray& datagram);
    // Hands the waiting datagrams, each cut to the datagram size, to take, at most
    // `most` of them.
    void receive(int most, const Take& take);
    // The datagrams cut since the last call.
    int takeCutCount() { return std::exchange(cutCount, 0); }

private:
    // Reads one batch into the buffers; the number of datagrams read.
    int receiveBatch();
    TimePoint arrivalOf(int message, std::chrono::nanoseconds steadyMinusReal);

    const std::size_t datagramBytes;
    int descriptor;
    int cutCount = 0;
    // Left uninitialised: only the pages that datagrams fill become resident.
    std::unique_ptr<char[]> buffers;
    std::vector<sockaddr_in> senders;
    std::vector<iovec> pieces;
    std::vector<std::array<char, KernelArrival::controlBytes>> controls;
    std::vector<mmsghdr> messages;
};
