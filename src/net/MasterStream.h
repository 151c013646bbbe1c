#pragma once

#include "net/ServerAddress.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// A master's list over TCP, on a non-blocking socket that the engine's epoll loop
// watches: it connects, sends the request once the connection stands, then reads the
// stream. Nothing here blocks; pump() does what the socket allows now.
class MasterStream {
public:
    using Take = std::function<void(QByteArrayView bytes)>;
    enum class State { Connecting, Sending, Reading, Ended, Failed };

    // Starts connecting; Failed at once when the system refuses.
    MasterStream(ServerAddress master, const QByteArray& request);
    ~MasterStream();
    MasterStream(const MasterStream&) = delete;
    MasterStream& operator=(const MasterStream&) = delete;

    int fileDescriptor() const { return descriptor; }
    State state() const { return current; }
    // Whether the socket waits to be writable (connecting or sending) rather than
    // readable.
    bool wantsToWrite() const { return current == State::Connecting || current == State::Sending; }

    // Moves on as far as the socket allows: finishes connecting, sends what is left of
    // the request, and hands at most `mostBytes` of the stream to take.
    void pump(qsizetype mostBytes, const Take& take);

private:
    void finishConnecting();
    void send();
    void read(qsizetype mostBytes, const Take& take);

    int descriptor;
    QByteArray unsent;
    State current = State::Connecting;
};
