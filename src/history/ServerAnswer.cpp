#include "history/ServerAnswer.h"

#include "model/CodServer.h"
#include "platform/TextValue.h"

#include <QDateTime>

namespace {

// The ping text is "Ping: %3.0f ms", or "Ping: --- ms" without a measure.
int pingOf(const QString& pingText)
{
    const QString measured = pingText.section(QLatin1Char(':'), 1);
    return TextValue::leadingInteger(measured).value_or(-1);
}

}  // namespace

ServerAnswer ServerAnswer::of(const CodServer& server, Source source)
{
    ServerAnswer answer;
    const auto answeredAt = server.lastUpdate();
    answer.time = (answeredAt ? *answeredAt : QDateTime::currentDateTimeUtc()).toSecsSinceEpoch();
    answer.source = source;
    answer.address = server.serverIp();
    answer.game = server.serverGameName();
    answer.name = server.serverHostName().isEmpty() ? server.serverName() : server.serverHostName();
    answer.map = server.serverMapName();
    answer.gametype = server.serverGametype();
    answer.maxPlayers = TextValue::integerValue(server.serverMaxClients());
    answer.ping = pingOf(server.serverPing());
    answer.playerList = server.serverPlayers();
    answer.players = int(answer.playerList.size());
    return answer;
}

// A UT2004 answer has no colour codes, and no coloured name beside the plain one.
QString ServerAnswer::rawNameOf(const CodPlayer& player)
{
    return player.colouredName().isEmpty() ? player.playerName() : player.colouredName();
}
