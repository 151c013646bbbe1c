#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Finds the game servers of the local network: one "getinfo" datagram to the broadcast
// address on each of the games' default ports, from one socket, and the addresses of
// the servers that answer it with an "infoResponse". Blocks its thread: the answers
// are read until one receive time-out passes without any.
namespace LanDiscovery {

// The datagram every port is asked with.
QByteArray infoRequest();
// Whether a datagram answers infoRequest().
bool isInfoAnswer(const QByteArray& datagram);

// "a.b.c.d:port" of each server that answered, in answer order and once each. Empty
// when the address is no dotted IPv4 address or the socket could not be made.
QStringList findServers(const QString& broadcastAddress, const QList<quint16>& ports, int timeoutMicroseconds);

}  // namespace LanDiscovery
