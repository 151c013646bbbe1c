#include "net/LanDiscovery.h"

#include "net/BroadcastSocket.h"
#include "net/QuakeProtocol.h"
#include "net/ServerAddress.h"

#include <arpa/inet.h>

namespace {

// A flood of answers ends the discovery all the same.
constexpr int mostAnswersRead = 4096;

const QByteArray infoAnswerTag = QuakeProtocol::connectionlessHeader + "infoResponse\n";

}  // namespace

QByteArray LanDiscovery::infoRequest()
{
    return QuakeProtocol::connectionlessHeader + "getinfo zorvel";
}

bool LanDiscovery::isInfoAnswer(const QByteArray& datagram)
{
    return datagram.startsWith(infoAnswerTag);
}

QStringList LanDiscovery::findServers(const QString& broadcastAddress, const QList<quint16>& ports,
                                      int timeoutMicroseconds)
{
    const std::optional<quint32> ip = ServerAddress::ipOfDottedDecimal(broadcastAddress);
    BroadcastSocket socket;
    if (!ip || !socket.prepare(timeoutMicroseconds))
        return {};
    for (const quint16 port : ports)
        socket.sendTo(infoRequest(), htonl(*ip), port);
    QStringList found;
    int read = 0;
    while (const auto answer = read++ < mostAnswersRead ? socket.receive() : std::nullopt) {
        const QString from = ServerAddress::of(answer->second).text();
        if (isInfoAnswer(answer->first) && !found.contains(from))
            found.append(from);
    }
    return found;
}
