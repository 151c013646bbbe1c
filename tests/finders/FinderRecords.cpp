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

CodServerPtr serverWithPlayers(const FinderServer& look, const QStringList& names)
{
    const CodServerPtr server = look.make();
    QList<CodPlayerPtr> players;
    for (const QString& name : names)
        players.append(finderPlayer(name));
    server->setServerPlayers(players);
    return server;
}

QStringList namesFound(const QList<PlayerFound>& found)
{
    QStringList names;
    for (const PlayerFound& each : found)
        names.append(each.thePlayer->playerName());
    return names;
}
