#include "net/ScanSockets.h"

#include "net/QuakeProtocol.h"

#include <algorithm>

#include <sys/epoll.h>

namespace {

// A master sends its whole list at once, and nothing sends it again: its socket asks
// for room for the longest list, as far as the system lets any user have it.
constexpr int masterReceiveBufferBytes = 4 << 20;

}  // namespace

ScanSockets::ScanSockets(int querySockets)
    : master(std::make_unique<ScanSocket>())
    , statusRequest(QuakeProtocol::statusRequest())
{
    master->requestReceiveBuffer(masterReceiveBufferBytes);
    for (int i = 0; i < querySockets; ++i)
        queries.push_back(std::make_unique<ScanSocket>());
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

PacedScan::TimePoint ScanSockets::sendQuery(ServerAddress server)
{
    queries[nextQuerySocket]->sendTo(server, statusRequest);
    nextQuerySocket = (nextQuerySocket + 1) % queries.size();
    return std::chrono::steady_clock::now();
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
    const auto take = socketIndex == masterSocket ? &PacedScan::masterDatagram : &PacedScan::serverDatagram;
    socket->receive(most, [&scan, take](ServerAddress from, QByteArrayView datagram, PacedScan::TimePoint arrival) {
        (scan.*take)(from, datagram, arrival);
    });
}

ScanSocket* ScanSockets::socketAt(quint32 index) const
{
    if (index == masterSocket)
        return master.get();
    return index <= queries.size() ? queries[index - 1].get() : nullptr;
}
