#include "FinderRecords.h"

CodServerPtr FinderServer::make() const
{
    CodServerPtr server = CodServer::create();
    server->setServerName(name);
    server->setServerIp(ip);
    server->setServerMapName(map);
    server->setServerGametype(gametype);
    QList<CodPlayerPtr> list;
    for (int i = 0; i < players; ++i)
        list.append(finderPlayer(QStringLiteral("player%1").arg(i)));
    server->setServerPlayers(list);
    server->setServerMaxClients(maxClients);
    server->setServerPassActive(passActive);
    server->setServerPunkBuster(punkBuster);
    server->setServerPing(ping);
    server->setServerGameName(gameName);
    server->setCommError(CodServer::Answered);
    server->setLastUpdate(QDateTime::currentDateTime());
    return server;
}

CodPlayerPtr finderPlayer(const QString& name)
{
    return std::make_shared<const CodPlayer>(CodPlayer::Fields{.name = name});
}
