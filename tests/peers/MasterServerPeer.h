#pragma once

#include "peers/UdpPeer.h"

// A master server for tests. It answers "getservers ..." with the configured
// datagrams: any such request, or only those naming its game (as dpmaster serves
// "getservers Quake3Arena 71 empty full"). It may lose datagrams of its first answer.
class MasterServerPeer : public UdpPeer {
public:
    // How a list datagram ends: "\EOT" and three zero bytes (the list ends), "\EOF"
    // and three zero bytes (the same), "\EOT" alone (more datagrams follow), or no
    // marker.
    enum class Ending { EndOfTransmission, EndOfFile, EndOfDatagram, None };

    MasterServerPeer();
    // On the given port; throws when it is taken.
    explicit MasterServerPeer(quint16 requestedPort);
    ~MasterServerPeer() override;

    // A backslash, the address and the port, both in network order.
    static QByteArray record(quint32 address, quint16 port);
    // "getserversResponse" after the connectionless header, the records, then the
    // ending.
    static QByteArray listDatagram(const QList<QByteArray>& records, Ending ending);
    // A whole list as a master sends it: datagrams of recordsPerDatagram records, each
    // ending in "\EOT" alone, then one ending in "\EOF".
    static QList<QByteArray> listDatagrams(const QList<QByteArray>& records, int recordsPerDatagram);

    // The Activision masters' framing: "\n\0" after "getserversResponse", "\EOT" after
    // the records of every datagram, "\EOT" and two zero bytes after the last.
    static QList<QByteArray> activisionDatagrams(const QList<QByteArray>& records, int recordsPerDatagram);

    void setAnswer(const QList<QByteArray>& datagrams);
    // Answers only requests that name this game right after "getservers ".
    void setGameName(const QByteArray& game);
    // The first answer goes without the datagrams at these indexes; later ones are whole.
    void loseInFirstAnswer(const QList<int>& datagramIndexes);

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    std::mutex configLock;
    QList<QByteArray> answer;
    QByteArray gameName;
    QList<int> lostOnce;
};
