#pragma once

#include "model/CodServer.h"
#include "peers/GameServerPeer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// A Call of Duty server simulated on loopback, with the rcon password "secret", and
// its record: refreshed, and holding the maps that the server's listing gave it.
class ListedServer {
public:
    explicit ListedServer(const QStringList& maps, CodServerPtr record = CodServer::create());

    // The console commands the server received, in order, without its status queries
    // and file listings.
    QList<QByteArray> commands() const;
    // The same, with their arrival times.
    QList<UdpPeer::Received> commandsReceived() const;
    // Processes the UI thread's events until this many commands have arrived.
    void waitForCommands(int count) const;

    GameServerPeer peer;
    const CodServerPtr server;
};
