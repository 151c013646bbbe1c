#pragma once

#include "peers/UdpPeer.h"

// A master server for tests. It answers "getservers <protocol> empty full" with the
// configured datagrams.
class MasterServerPeer : public UdpPeer {
public:
    enum class Ending { EndOfTransmission, EndOfFile, None };

    MasterServerPeer();
    // On the given port; throws when it is taken.
    explicit MasterServerPeer(quint16 requestedPort);
    ~MasterServerPeer() override;

    // A backslash, the address and the port, both in network order.
    static QByteArray record(quint32 address, quint16 port);
    // "getserversResponse" after the connectionless header, the records, then
    // "\EOT" or "\EOF" and three zero bytes, or no marker.
    static QByteArray listDatagram(const QList<QByteArray>& records, Ending ending);
    // A whole list as a master sends it: datagrams of recordsPerDatagram records, each
    // ending in "\EOT", then one ending in "\EOF".
    static QList<QByteArray> listDatagrams(const QList<QByteArray>& records, int recordsPerDatagram);

    void setAnswer(const QList<QByteArray>& datagrams);

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    std::mutex configLock;
    QList<QByteArray> answer;
};
