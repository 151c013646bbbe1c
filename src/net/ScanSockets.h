#pragma once

#include "net/MasterSource.h"
#include "net/MasterStream.h"
#include "net/PacedScan.h"
#include "net/ScanSocket.h"

#include <QList>

#include <memory>
#include <vector>

// The sockets of one scan: one per master it asks (a UDP socket, or a TCP stream),
// and a few that send the status queries in turn, so that the answers spread over
// several receive buffers of the size any user gets. Each is registered with the
// engine's epoll under the scan's tag and its own index.
class ScanSockets {
public:
    // The index of the first master's socket; the query sockets count from 1.
    static constexpr quint32 firstMasterSocket = 1u << 24;

    ScanSockets(int querySockets, const QList<MasterSource>& masters);
    ~ScanSockets();
    ScanSockets(const ScanSockets&) = delete;
    ScanSockets& operator=(const ScanSockets&) = delete;

    // Whether the query sockets are open; a master whose socket failed is only that
    // master's loss.
    bool isOpen() const;
    // Registers every socket with epoll, each event's data the tag in the high 32
    // bits and the socket's index in the low ones.
    bool watchWith(int epoll, quint32 tag);

    // Sends the master its request (over TCP: the connection is under way); false
    // when it cannot be asked.
    bool askMaster(qsizetype master);
    // Sends the status query on the next query socket in turn, or the one after it
    // when that is the socket to avoid; when and by which socket (its index) it went
    // out, or nothing when the system refused it.
    std::optional<PacedScan::Sent> sendQuery(ServerAddress server, std::optional<int> socketToAvoid);
    // Closes the sockets of the masters whose lists are over: a master that keeps
    // sending after its list ended costs nothing more.
    void closeMastersOver(const PacedScan& scan);

    // Hands at most `most` of the datagrams waiting on that socket (for a stream,
    // `most` times a datagram's worth of bytes) to the scan.
    void drain(quint32 socketIndex, int most, PacedScan& scan);

private:
    struct MasterSocket {
        MasterSource source;
        std::unique_ptr<ScanSocket> datagrams;
        std::unique_ptr<MasterStream> stream;
    };

    ScanSocket* querySocketAt(quint32 index) const;
    MasterSocket* masterSocketAt(quint32 index);
    void drainMaster(qsizetype master, int most, PacedScan& scan);
    void pumpStream(qsizetype master, int most, PacedScan& scan);
    bool watch(int descriptor, quint32 index, quint32 events) const;
    void closeMaster(qsizetype master);

    std::vector<MasterSocket> masters;
    std::vector<std::unique_ptr<ScanSocket>> queries;
    std::size_t nextQuerySocket = 0;
    const QByteArray statusRequest;
    int epoll = -1;
    quint32 tag = 0;
};
