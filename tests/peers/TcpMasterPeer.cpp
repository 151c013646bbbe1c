#include "peers/TcpMasterPeer.h"

#include "net/QuakeProtocol.h"

#include <QtEndian>

#include <stdexcept>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The stream goes out in pieces of this size, so that the reader sees it arrive in parts.
constexpr qsizetype pieceBytes = 1000;

bool readable(int descriptor)
{
    pollfd watched{descriptor, POLLIN, 0};
    return ::poll(&watched, 1, 20) > 0;
}

}  // namespace

TcpMasterPeer::TcpMasterPeer()
{
    listening = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof local;
    if (listening < 0 || ::bind(listening, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || ::listen(listening, 8) != 0 || ::getsockname(listening, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        if (listening >= 0)
            ::close(listening);
        throw std::runtime_error("cannot open the TCP master's socket");
    }
    boundPort = ntohs(local.sin_port);
    server = std::thread([this] { serve(); });
}

TcpMasterPeer::~TcpMasterPeer()
{
    stopping = true;
    server.join();
    for (const int connection : silentConnections)
        ::close(connection);
    ::close(listening);
}

QByteArray TcpMasterPeer::entry(quint32 address, quint16 port)
{
    QByteArray bytes = QByteArray("\\\0\0\0\0\4", 6) + QByteArray(6, '\0');
    qToBigEndian(address, bytes.data() + 6);
    qToBigEndian(port, bytes.data() + 10);
    return bytes;
}

QByteArray TcpMasterPeer::stream(const QList<QByteArray>& entries)
{
    QByteArray bytes = QuakeProtocol::connectionlessHeader + "getserversResponse";
    for (const QByteArray& each : entries)
        bytes += each;
    return bytes + "\\EOT";
}

void TcpMasterPeer::setAnswer(const QByteArray& stream, Ending ending)
{
    std::lock_guard guard(lock);
    answerStream = stream;
    answerEnding = ending;
}

QList<QByteArray> TcpMasterPeer::requests() const
{
    std::lock_guard guard(lock);
    return received;
}

void TcpMasterPeer::serve()
{
    while (!stopping) {
        if (!readable(listening))
            continue;
        const int connection = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            answer(connection);
    }
}

void TcpMasterPeer::answer(int connection)
{
    QByteArray request;
    char byte = 1;
    while (!stopping && byte != '\0' && readable(connection) && ::recv(connection, &byte, 1, 0) == 1)
        request.append(byte);
    std::unique_lock guard(lock);
    received.append(request);
    const QByteArray bytes = answerStream;
    const Ending ending = answerEnding;
    guard.unlock();
    for (qsizetype at = 0; at < bytes.size(); at += pieceBytes) {
        const QByteArray piece = bytes.mid(at, pieceBytes);
        if (::send(connection, piece.constData(), static_cast<size_t>(piece.size()), MSG_NOSIGNAL) != piece.size())
            break;
    }
    if (ending == Ending::Silence)
        silentConnections.append(connection);
    else
        ::close(connection);
}
