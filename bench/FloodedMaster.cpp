#include "FloodedMaster.h"

#include "net/ServerAddress.h"

namespace {

// Datagrams in each of the two floods.
constexpr int floodSize = 100000;

// The farm prints each server's address as "a.b.c.d:port".
QByteArray recordOf(const QString& address)
{
    const QStringView text(address);
    const qsizetype colon = text.indexOf(u':');
    return MasterServerPeer::record(ServerAddress::ipOfDottedDecimal(text.left(colon)).value_or(0),
                                    ServerAddress::portOfDecimal(text.mid(colon + 1)).value_or(0));
}

}  // namespace

FloodedMaster::FloodedMaster(const FarmListing& farm)
{
    flooder.setStatusAnswer(QList<QByteArray>(floodSize, GameServerPeer::statusDatagram("\\sv_hostname\\Flood\n")));
    QList<QByteArray> records{MasterServerPeer::record(0x7F000001, flooder.port())};
    for (const QString& address : farm.addresses())
        records.append(recordOf(address));
    master.setAnswer(MasterServerPeer::listDatagrams(records, 200));
    strangerFlood = std::thread([this] { floodFromStranger(); });
}

FloodedMaster::~FloodedMaster()
{
    strangerFlood.join();
}

int FloodedMaster::datagramsSent() const
{
    return floodSize + strangerSent;
}

void FloodedMaster::floodFromStranger()
{
    if (!flooder.waitForReceived(1))
        return;
    const QByteArray impostor = GameServerPeer::statusDatagram("\\sv_hostname\\Impostor\n");
    for (; strangerSent < floodSize; ++strangerSent)
        stranger.sendToLastSenderOf(flooder, impostor);
}
