#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <mutex>
#include <thread>

// A master that serves its list over TCP, as the masters of CoD4x servers do: it
// accepts a connection on 127.0.0.1, reads the request up to its closing zero byte,
// writes the configured stream in pieces and closes the connection, or keeps it open
// and falls silent.
class TcpMasterPeer {
public:
    enum class Ending { Close, Silence };

    TcpMasterPeer();
    ~TcpMasterPeer();
    TcpMasterPeer(const TcpMasterPeer&) = delete;
    TcpMasterPeer& operator=(const TcpMasterPeer&) = delete;

    quint16 port() const { return boundPort; }

    // A backslash, the CoD4x entry prefix 00 00 00 00 04, the address and the port.
    static QByteArray entry(quint32 address, quint16 port);
    // "getserversResponse" after the connectionless header, the entries, "\EOT".
    static QByteArray stream(const QList<QByteArray>& entries);

    void setAnswer(const QByteArray& stream, Ending ending);
    // The requests received, one per connection, in order.
    QList<QByteArray> requests() const;

private:
    void serve();
    void answer(int connection);

    int listening = -1;
    quint16 boundPort = 0;
    std::atomic<bool> stopping = false;
    mutable std::mutex lock;
    QByteArray answerStream;
    Ending answerEnding = Ending::Close;
    QList<QByteArray> received;
    QList<int> silentConnections;
    std::thread server;
};
