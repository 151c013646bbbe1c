#pragma once

#include "net/PacedScan.h"
#include "net/ScanSocket.h"

#include <QByteArray>

#include <memory>
#include <vector>

// The sockets of one scan: one that asks the master for its list, and a few that
// send the status queries in turn, so that the answers spread over several receive
// buffers of the size any user gets. Each is registered with the engine's epoll under
// the scan's tag and its own index.
class ScanSockets {
public:
    // The index of the master's socket; the query sockets follow it.
    static constexpr quint32 masterSocket = 0;

    explicit ScanSockets(int querySockets);
    ~ScanSockets();
    ScanSockets(const ScanSockets&) = delete;
    ScanSockets& operator=(const ScanSockets&) = delete;

    bool isOpen() const;
    // Registers every socket with epoll, each event's data the tag in the high 32
    // bits and the socket's index in the low ones.
    bool watchWith(int epoll, quint32 tag) const;

    bool sendToMaster(ServerAddress master, const QByteArray& request);
    // Sends the query on the next query socket in turn that is none of those to avoid
    // (one bit per socket index); when and by which socket (its index) it went out, or
    // nothing when the system refused it.
    std::optional<PacedScan::Sent> sendQuery(ServerAddress server, const QByteArray& query, quint32 socketsToAvoid);
    // Closes the master's socket: a master that keeps sending after its list ended
    // costs nothing more.
    void closeMaster();

    // Hands at most `most` of the datagrams waiting on that socket to the scan.
    void drain(quint32 socketIndex, int most, PacedScan& scan);

private:
    ScanSocket* socketAt(quint32 index) const;

    std::unique_ptr<ScanSocket> master;
    std::vector<std::unique_ptr<ScanSocket>> queries;
    std::size_t nextQuerySocket = 0;
};
