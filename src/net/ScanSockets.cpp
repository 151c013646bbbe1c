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

ScanSockets::ScanSockets(int querySockets, const QList<MasterSource>& sources)
{
    for (const MasterSource& source : sources) {
        MasterSocket& master = masters.emplace_back(MasterSocket{source, nullptr, nullptr});
        if (source.transport == MasterSource::Transport::Tcp) {
            master.stream = std::make_unique<MasterStream>(source.address, source.request);
        } else {
            master.datagrams = std::make_unique<ScanSocket>(masterDatagramBytes);
            master.datagrams->requestReceiveBuffer(masterReceiveBufferBytes);
        }
    }
    for (int i = 0; i < querySockets; ++i) {
        queries.push_back(std::make_unique<ScanSocket>(QuakeProtocol::receiveBufferBytes));
        queries.back()->requestReceiveBuffer(queryReceiveBufferBytes);
    }
}

ScanSockets::~ScanSockets() = default;

bool ScanSockets::isOpen() const
{
    return std::all_of(queries.cbegin(), queries.cend(), [](const auto& socket) { return socket->isOpen(); });
}

bool ScanSockets::watchWith(int epollDescriptor, quint32 scanTag)
{
    epoll = epollDescriptor;
    tag = scanTag;
    for (quint32 index = 1; index <= queries.size(); ++index) {
        if (!watch(queries[index - 1]->fileDescriptor(), index, EPOLLIN))
            return false;
    }
    for (std::size_t master = 0; master < masters.size(); ++master) {
        const MasterSocket& socket = masters[master];
        const auto index = firstMasterSocket + static_cast<quint32>(master);
        if (socket.datagrams && socket.datagrams->isOpen())
            watch(socket.datagrams->fileDescriptor(), index, EPOLLIN);
        else if (socket.stream && socket.stream->state() != MasterStream::State::Failed)
            watch(socket.stream->fileDescriptor(), index, EPOLLIN | EPOLLOUT);
    }
    return true;
}

bool ScanSockets::watch(int descriptor, quint32 index, quint32 events) const
{
    epoll_event interest{};
    interest.events = events;
    interest.data.u64 = quint64{tag} << 32 | index;
    const bool added = ::epoll_ctl(epoll, EPOLL_CTL_ADD, descriptor, &interest) == 0;
    return added || ::epoll_ctl(epoll, EPOLL_CTL_MOD, descriptor, &interest) == 0;
}

bool ScanSockets::askMaster(qsizetype master)
{
    MasterSocket& socket = masters[static_cast<std::size_t>(master)];
    if (socket.stream)
        return socket.stream->state() != MasterStream::State::Failed;
    return socket.datagrams && socket.datagrams->isOpen()
        && socket.datagrams->sendTo(socket.source.address, socket.source.request);
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
    // Taken just before the datagram goes: the kernel has it after that, so that no
    // ping is shorter than the round trip, however long the thread waits in sendto.
    const PacedScan::TimePoint sendingAt = std::chrono::steady_clock::now();
    if (!queries[socket]->sendTo(server, query))
        return std::nullopt;
    return PacedScan::Sent{sendingAt, indexOf(socket)};
}

void ScanSockets::closeMastersOver(const PacedScan& scan)
{
    for (std::size_t master = 0; master < masters.size(); ++master) {
        if (scan.masterIsOver(static_cast<qsizetype>(master)))
            closeMaster(static_cast<qsizetype>(master));
    }
}

void ScanSockets::closeMaster(qsizetype master)
{
    MasterSocket& socket = masters[static_cast<std::size_t>(master)];
    socket.datagrams.reset();
    socket.stream.reset();
}

void ScanSockets::drain(quint32 socketIndex, int most, PacedScan& scan)
{
    if (socketIndex >= firstMasterSocket) {
        if (masterSocketAt(socketIndex))
            drainMaster(static_cast<qsizetype>(socketIndex - firstMasterSocket), most, scan);
        return;
    }
    ScanSocket* socket = querySocketAt(socketIndex);
    if (!socket)
        return;
    const int route = static_cast<int>(socketIndex);
    socket->receive(most, [&scan, route](ServerAddress from, QByteArrayView datagram, PacedScan::TimePoint arrival) {
        scan.serverDatagram(from, route, datagram, arrival);
    });
    scan.datagramsCut(socket->takeCutCount());
}

void ScanSockets::drainMaster(qsizetype master, int most, PacedScan& scan)
{
    MasterSocket& socket = masters[static_cast<std::size_t>(master)];
    if (socket.stream) {
        pumpStream(master, most, scan);
        return;
    }
    if (!socket.datagrams)
        return;
    socket.datagrams->receive(
        most, [&scan, master](ServerAddress from, QByteArrayView datagram, PacedScan::TimePoint arrival) {
            scan.masterDatagram(master, from, datagram, arrival);
        });
    scan.datagramsCut(socket.datagrams->takeCutCount());
}

void ScanSockets::pumpStream(qsizetype master, int most, PacedScan& scan)
{
    MasterStream& stream = *masters[static_cast<std::size_t>(master)].stream;
    const bool wasWriting = stream.wantsToWrite();
    stream.pump(static_cast<qsizetype>(most) * qsizetype(QuakeProtocol::receiveBufferBytes),
                [&scan, master](QByteArrayView bytes) { scan.masterStream(master, bytes, std::chrono::steady_clock::now()); });
    const MasterStream::State state = stream.state();
    if (state == MasterStream::State::Ended || state == MasterStream::State::Failed) {
        scan.masterStreamEnded(master, state == MasterStream::State::Ended);
        closeMaster(master);
    } else if (wasWriting && !stream.wantsToWrite()) {
        watch(stream.fileDescriptor(), firstMasterSocket + static_cast<quint32>(master), EPOLLIN);
    }
}

ScanSocket* ScanSockets::querySocketAt(quint32 index) const
{
    return index >= 1 && index <= queries.size() ? queries[index - 1].get() : nullptr;
}

ScanSockets::MasterSocket* ScanSockets::masterSocketAt(quint32 index)
{
    const std::size_t master = index - firstMasterSocket;
    if (master >= masters.size())
        return nullptr;
    MasterSocket& socket = masters[master];
    return socket.datagrams || socket.stream ? &socket : nullptr;
}
