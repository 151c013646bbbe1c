#include "net/ScanSockets.h"

#include "net/QuakeProtocol.h"

#include <algorithm>

#include <sys/epoll.h>

namespace {

// A master sends its whole list at once, and nothing sends it again: its socket asks
// for room for the longest list, as far as the system lets any user have it.
constexpr int masterReceiveBufferBytes = 4 << 20;
// Each query socket asks for room for some 400 answers (the system counts about
// 2.5 KiB for each): the eight of a scan hold some 150 ms of answers at the fastest
// pace, for an engine's thread that a busy machine holds up that long. Only what
// waits there takes memory.
constexpr int queryReceiveBufferBytes = 1 << 20;
// A master's datagram is read whole, however long: a list datagram cut short would
// lose the servers at its end without a sign.
constexpr std::size_t masterDatagramBytes = 64 << 10;

}  // namespace

ScanSockets::ScanSockets(int querySockets)
    : master(std::make_unique<ScanSocket>(masterDatagramBytes))
{
    master->requestReceiveBuffer(masterReceiveBufferBytes);
    for (int i = 0; i < querySockets; ++i) {
        queries.push_back(std::make_unique<ScanSocket>(QuakeProtocol::receiveBufferBytes));
        queries.back()->requestReceiveBuffer(queryReceiveBufferBytes);
    }
}

ScanSockets::~ScanSockets() = default;

bool ScanSockets::isOpen() const
{
    return master->isOpen()
        && std::all_of(queries.cbegin(), queries.cend(), [](const auto& socket) { return socket->isOpen(); });
}

bool ScanSockets::watchWith(int epoll, quint32 tag) const
{
    for (quint32 index = 0; index <= queries.size(); ++index) {
        epoll_event interest{};
        interest.events = EPOLLIN;
        interest.data.u64 = quint64{tag} << 32 | index;
        if (::epoll_ctl(epoll, EPOLL_CTL_ADD, socketAt(index)->fileDescriptor(), &interest) != 0)
            return false;
    }
    return true;
}

bool ScanSockets::sendToMaster(ServerAddress address, const QByteArray& request)
{
    return master && master->sendTo(address, request);
}

std::optional<PacedScan::Sent> ScanSockets::sendQuery(ServerAddress server, const QByteArray& query,
                                                      quint32 socketsToAvoid)
{
    const auto indexOf = [](std::size_t socket) { return static_cast<int>(socket) + 1; };
    for (std::size_t skipped = 0; skipped + 1 < queries.size() && (socketsToAvoid >> indexOf(nextQuerySocket) & 1U);
         ++skipped)
        nextQuerySocket = (nextQuerySocket + 1) % queries.size();
    const std::size_t socket = nextQuerySocket;
    nextQuerySocket = (nextQuerySocket + 1) % queries.size();
    if (!queries[socket]->sendTo(server, query))
        return std::nullopt;
    return PacedScan::Sent{std::chrono::steady_clock::now(), indexOf(socket)};
}

void ScanSockets::closeMaster()
{
    master.reset();
}

void ScanSockets::drain(quint32 socketIndex, int most, PacedScan& scan)
{
    ScanSocket* socket = socketAt(socketIndex);
    if (!socket)
        return;
    const int route = static_cast<int>(socketIndex);
    socket->receive(most, [&scan, route](ServerAddress from, QByteArrayView datagram, PacedScan::TimePoint arrival) {
        if (route == static_cast<int>(masterSocket))
            scan.masterDatagram(from, datagram, arrival);
        else
            scan.serverDatagram(from, route, datagram, arrival);
    });
    scan.datagramsCut(socket->takeCutCount());
}

ScanSocket* ScanSockets::socketAt(quint32 index) const
{
    if (index == masterSocket)
        return master.get();
    return index <= queries.size() ? queries[index - 1].get() : nullptr;
}
