#include "peers/MasterServerPeer.h"

#include "net/QuakeProtocol.h"

#include <QtEndian>

MasterServerPeer::MasterServerPeer()
{
    start();
}

MasterServerPeer::MasterServerPeer(quint16 requestedPort)
    : UdpPeer(requestedPort)
{
    start();
}

MasterServerPeer::~MasterServerPeer()
{
    stopFlooding();
    stop();
}

QByteArray MasterServerPeer::record(quint32 address, quint16 port)
{
    QByteArray bytes(7, '\\');
    qToBigEndian(address, bytes.data() + 1);
    qToBigEndian(port, bytes.data() + 5);
    return bytes;
}

QByteArray MasterServerPeer::listDatagram(const QList<QByteArray>& records, Ending ending)
{
    QByteArray datagram = QuakeProtocol::connectionlessHeader + "getserversResponse";
    for (const QByteArray& each : records)
        datagram += each;
    if (ending == Ending::EndOfTransmission)
        datagram += QByteArray("\\EOT\0\0\0", 7);
    else if (ending == Ending::EndOfFile)
        datagram += QByteArray("\\EOF\0\0\0", 7);
    return datagram;
}

QList<QByteArray> MasterServerPeer::listDatagrams(const QList<QByteArray>& records, int recordsPerDatagram)
{
    QList<QByteArray> datagrams;
    for (qsizetype from = 0; from < records.size(); from += recordsPerDatagram)
        datagrams.append(listDatagram(records.mid(from, recordsPerDatagram), Ending::EndOfTransmission));
    datagrams.append(listDatagram({}, Ending::EndOfFile));
    return datagrams;
}

void MasterServerPeer::setAnswer(const QList<QByteArray>& datagrams)
{
    std::lock_guard guard(configLock);
    answer = datagrams;
}

void MasterServerPeer::setFlooding(bool value)
{
    std::lock_guard guard(configLock);
    flooding = value;
}

void MasterServerPeer::setFloodInterval(std::chrono::microseconds interval)
{
    std::lock_guard guard(configLock);
    floodInterval = interval;
}

void MasterServerPeer::stopFlooding()
{
    floodStopped = true;
}

QList<QByteArray> MasterServerPeer::answerTo(const QByteArray& request)
{
    if (!request.startsWith(QuakeProtocol::connectionlessHeader + "getservers "))
        return {};
    std::lock_guard guard(configLock);
    if (!flooding)
        return answer;
    flood();
    return {};
}

void MasterServerPeer::flood()
{
    const QByteArray datagram = listDatagram({record(0x7f000001, 28960)}, Ending::EndOfTransmission);
    for (int sent = 0; sent < floodLimit && !floodStopped; ++sent) {
        sendToLastSender(datagram);
        std::this_thread::sleep_for(floodInterval);
    }
}
