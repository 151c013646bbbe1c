#include "net/MasterStream.h"

#include <array>
#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::size_t readBytes = 64 << 10;

}  // namespace

MasterStream::MasterStream(ServerAddress master, const QByteArray& request)
    : descriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
    , unsent(request)
{
    const sockaddr_in peer = master.socketAddress();
    if (descriptor < 0
        || (::connect(descriptor, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0 && errno != EINPROGRESS))
        current = State::Failed;
}

MasterStream::~MasterStream()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

void MasterStream::pump(qsizetype mostBytes, const Take& take)
{
    if (current == State::Connecting)
        finishConnecting();
    if (current == State::Sending)
        send();
    if (current == State::Reading)
        read(mostBytes, take);
}

void MasterStream::finishConnecting()
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || (error != 0 && error != EINPROGRESS)) {
        current = State::Failed;
        return;
    }
    // A connection still under way has no peer yet.
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    if (::getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0)
        current = State::Sending;
    else if (errno != ENOTCONN)
        current = State::Failed;
}

void MasterStream::send()
{
    const ssize_t sent = ::send(descriptor, unsent.constData(), static_cast<size_t>(unsent.size()), MSG_NOSIGNAL);
    if (sent < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            current = State::Failed;
        return;
    }
    unsent.remove(0, sent);
    if (unsent.isEmpty())
        current = State::Reading;
}

void MasterStream::read(qsizetype mostBytes, const Take& take)
{
    std::array<char, readBytes> buffer;
    for (qsizetype taken = 0; taken < mostBytes;) {
        const ssize_t got = ::recv(descriptor, buffer.data(), buffer.size(), 0);
        if (got == 0) {
            current = State::Ended;
            return;
        }
        if (got < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                current = State::Failed;
            return;
        }
        take(QByteArrayView(buffer.data(), got));
        taken += got;
    }
}
