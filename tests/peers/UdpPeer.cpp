#include "peers/UdpPeer.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <stdexcept>

UdpPeer::UdpPeer()
    : UdpPeer(0)
{
}

UdpPeer::UdpPeer(quint16 requestedPort)
{
    descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(requestedPort);
    socklen_t length = sizeof local;
    timeval poll{0, 20000};
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &length) != 0
        || ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &poll, sizeof poll) != 0) {
        if (descriptor >= 0)
            ::close(descriptor);
        throw std::runtime_error("cannot open the peer's socket");
    }
    boundPort = ntohs(local.sin_port);
}

UdpPeer::~UdpPeer()
{
    stop();
    ::close(descriptor);
}

void UdpPeer::start()
{
    server = std::thread([this] { serve(); });
}

void UdpPeer::stop()
{
    stopping = true;
    if (server.joinable())
        server.join();
}

QByteArray UdpPeer::address() const
{
    return "127.0.0.1:" + QByteArray::number(boundPort);
}

QList<UdpPeer::Received> UdpPeer::received() const
{
    std::lock_guard guard(lock);
    return QList<Received>(log.cbegin(), log.cend());
}

QList<QByteArray> UdpPeer::receivedDatagrams() const
{
    QList<QByteArray> datagrams;
    std::lock_guard guard(lock);
    for (const Received& entry : log)
        datagrams.append(entry.datagram);
    return datagrams;
}

bool UdpPeer::waitForReceived(int count) const
{
    for (int i = 0; i < 500; ++i) {
        {
            std::lock_guard guard(lock);
            if (log.size() >= static_cast<std::size_t>(count))
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void UdpPeer::sendToLastSender(const QByteArray& datagram)
{
    sendToLastSenderOf(*this, datagram);
}

void UdpPeer::sendToLastSenderOf(const UdpPeer& other, const QByteArray& datagram)
{
    sockaddr_in to{};
    {
        std::lock_guard guard(other.lock);
        to = other.lastSender;
    }
    ::sendto(descriptor, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
             reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void UdpPeer::serve()
{
    char buffer[65536];
    while (!stopping) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t size = ::recvfrom(descriptor, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (size < 0)
            continue;
        const QByteArray request(buffer, static_cast<qsizetype>(size));
        {
            std::lock_guard guard(lock);
            log.push_back({request, std::chrono::steady_clock::now()});
            lastSender = from;
        }
        for (const QByteArray& datagram : answerTo(request))
            sendToLastSender(datagram);
    }
}
