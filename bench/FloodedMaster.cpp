#include "FloodedMaster.h"

namespace {

// Datagrams in each of the two floods.
constexpr int floodSize = 100000;

QByteArray recordOf(const QString& address)
{
    const QStringList parts = address.section(u':', 0, 0).split(u'.');
    quint32 ip = 0;
    for (const QString& part : parts)
        ip = ip << 8 | part.toUInt();
    return MasterServerPeer::record(ip, address.section(u':', 1).toUShort());
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
