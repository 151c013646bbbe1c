#include "ListedServer.h"

#include "net/QuakeProtocol.h"

#include <QDateTime>
#include <QTest>

namespace {

const QByteArray mapListing = "fdir maps/mp*.bsp";
const QByteArray rconPrefix = QByteArray("\xff\xff\xff\xff", 4) + "rcon secret ";

}  // namespace

ListedServer::ListedServer(const QStringList& maps, CodServerPtr record)
    : server(std::move(record))
{
    QByteArray lines;
    for (const QString& map : maps)
        lines += "maps/mp/" + map.toLatin1() + ".bsp\n";
    peer.setRconPassword("secret");
    peer.setRconAnswer(mapListing, {GameServerPeer::printDatagram("---------------\n" + lines + "files listed\n")});
    // Answered, so that the sending of a rotation never waits for a silent server.
    peer.setRconAnswer("set sv_mapRotationCurrent \"\"", {GameServerPeer::printDatagram("")});
    server->setServerIp(QString::fromLatin1(peer.address()));
    server->setServerPass(QStringLiteral("secret"));
    server->setServerGameName(QStringLiteral("Call of Duty"));
    server->setLastUpdate(QDateTime::currentDateTime());
    server->mapListRefresh();
}

QList<UdpPeer::Received> ListedServer::commandsReceived() const
{
    QList<UdpPeer::Received> commands;
    for (UdpPeer::Received received : peer.received()) {
        // The status queries and file listings of the refreshes that made the record or
        // that selecting an administered favourite runs are not the drawer's commands.
        if (received.datagram.startsWith(rconPrefix + "fdir ") || received.datagram == QuakeProtocol::statusRequest())
            continue;
        received.datagram = received.datagram.startsWith(rconPrefix) ? received.datagram.mid(rconPrefix.size())
                                                                     : "not a command: " + received.datagram;
        commands.append(received);
    }
    return commands;
}

QList<QByteArray> ListedServer::commands() const
{
    QList<QByteArray> datagrams;
    for (const UdpPeer::Received& received : commandsReceived())
        datagrams.append(received.datagram);
    return datagrams;
}

void ListedServer::waitForCommands(int count) const
{
    while (commandsReceived().size() < count)
        QTest::qWait(5);
}
