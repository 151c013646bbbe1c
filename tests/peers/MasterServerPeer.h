#pragma once

#include "peers/UdpPeer.h"

// A master server for tests. It answers "getservers <protocol> empty full" with the
// configured datagrams, or floods: it sends one-record list datagrams without pause
// until told to stop (or, to end by itself, until floodLimit of them are out).
class MasterServerPeer : public UdpPeer {
public:
    enum class Ending { EndOfTransmission, EndOfFile, None };
    static constexpr int floodLimit = 200000;

    MasterServerPeer();
    ~MasterServerPeer() override;

    // A backslash, the address and the port, both in network order.
    static QByteArray record(quint32 address, quint16 port);
    // "getserversResponse" after the connectionless header, the records, then
    // "\EOT" or "\EOF" and three zero bytes, or no marker.
    static QByteArray listDatagram(const QList<QByteArray>& records, Ending ending);

    void setAnswer(const QList<QByteArray>& datagrams);
    void setFlooding(bool flooding);
    void stopFlooding();

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    void flood();

    std::mutex configLock;
    QList<QByteArray> answer;
    bool flooding = false;
    std::atomic<bool> floodStopped = false;
};
