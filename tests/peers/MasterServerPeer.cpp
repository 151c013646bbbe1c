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
    else if (ending == Ending::EndOfDatagram)
        datagram += "\\EOT";
    return datagram;
}

QList<QByteArray> MasterServerPeer::listDatagrams(const QList<QByteArray>& records, int recordsPerDatagram)
{
    QList<QByteArray> datagrams;
    for (qsizetype from = 0; from < records.size(); from += recordsPerDatagram)
        datagrams.append(listDatagram(records.mid(from, recordsPerDatagram), Ending::EndOfDatagram));
    datagrams.append(listDatagram({}, Ending::EndOfFile));
    return datagrams;
}

QList<QByteArray> MasterServerPeer::activisionDatagrams(const QList<QByteArray>& records, int recordsPerDatagram)
{
    const QByteArray tag = QuakeProtocol::connectionlessHeader + QByteArray("getserversResponse\n\0", 20);
    QList<QByteArray> datagrams;
    for (qsizetype from = 0; from < records.size(); from += recordsPerDatagram) {
        QByteArray datagram = tag;
        for (const QByteArray& each : records.mid(from, recordsPerDatagram))
            datagram += each;
        datagrams.append(datagram + "\\EOT");
    }
    if (datagrams.isEmpty())
        datagrams.append(tag + "\\EOT");
    datagrams.last() += QByteArray(2, '\0');
    return datagrams;
}

void MasterServerPeer::setAnswer(const QList<QByteArray>& datagrams)
{
    std::lock_guard guard(configLock);
    answer = datagrams;
}

void MasterServerPeer::setGameName(const QByteArray& game)
{
    std::lock_guard guard(configLock);
    gameName = game;
}

void MasterServerPeer::loseInFirstAnswer(const QList<int>& datagramIndexes)
{
    std::lock_guard guard(configLock);
    lostOnce = datagramIndexes;
}

QList<QByteArray> MasterServerPeer::answerTo(const QByteArray& request)
{
    const QByteArray asking = QuakeProtocol::connectionlessHeader + "getservers ";
    std::lock_guard guard(configLock);
    if (!request.startsWith(asking))
        return {};
    const bool namesTheGame = gameName.isEmpty() || request.sliced(asking.size()).startsWith(gameName + ' ');
    if (!namesTheGame)
        return {};
    QList<QByteArray> sent;
    for (int index = 0; index < answer.size(); ++index) {
        if (!lostOnce.contains(index))
            sent.append(answer[index]);
    }
    lostOnce.clear();
    return sent;
}
