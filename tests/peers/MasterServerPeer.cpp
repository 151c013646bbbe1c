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

QList<QByteArray> MasterServerPeer::answerTo(const QByteArray& request)
{
    if (!request.startsWith(QuakeProtocol::connectionlessHeader + "getservers "))
        return {};
    std::lock_guard guard(configLock);
    return answer;
}
