#include "watch/ServerSnapshot.h"

#include "model/CodServer.h"
#include "platform/TextValue.h"

#include <algorithm>

bool ServerSnapshot::hasPlayer(const QString& text) const
{
    if (text.isEmpty())
        return false;
    return std::any_of(players.cbegin(), players.cend(),
                       [&text](const QString& player) { return player.contains(text, Qt::CaseInsensitive); });
}

ServerSnapshot ServerSnapshot::of(const CodServer& server)
{
    const bool refreshingBefore = server.refreshIsUnderWay();
    ServerSnapshot snapshot;
    snapshot.address = server.serverIp();
    snapshot.name = server.shownName();
    snapshot.map = server.serverMapName();
    snapshot.maxPlayers = TextValue::integerValue(server.serverMaxClients());
    for (const CodPlayerPtr& player : server.serverPlayers())
        snapshot.players.append(player->playerName());
    const int outcome = server.commError();
    if (refreshingBefore || server.refreshIsUnderWay())
        snapshot.state = State::Refreshing;
    else if (outcome == CodServer::Unreachable)
        snapshot.state = State::Down;
    else if (outcome == CodServer::NeverContacted)
        snapshot.state = State::NotYetAsked;
    else
        snapshot.state = State::Up;
    return snapshot;
}
