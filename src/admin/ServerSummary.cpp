#include "admin/ServerSummary.h"

#include "model/CodServer.h"
#include "net/ServerAddress.h"
#include "platform/TextValue.h"

ServerSummary::ServerSummary(const CodServer& server)
    : statusLine(statusLineOf(server))
{
    const int commError = server.commError();
    if (commError == CodServer::NeverContacted)
        return;
    if (commError != CodServer::Unreachable)
        numberOfPlayers = QStringLiteral("%1/%2").arg(QString::number(server.serverPlayers().size()),
                                                      server.serverMaxClients());
    currentMap = server.serverMapName();
    currentGameType = server.serverGametype();
    currentPing = pingTime(server.serverPing());
    if (commError == CodServer::Unreachable)
        return;
    showsIcons = true;
    game = gameKindOf(server.serverGameName());
    punkbuster = TextValue::integerValue(server.serverPunkBuster()) == 1;
    password = TextValue::integerValue(server.serverPassActive()) == 1;
}

QString ServerSummary::pingTime(const QString& pingText)
{
    static const QString prefix = QStringLiteral("Ping: ");
    return (pingText.startsWith(prefix) ? pingText.mid(prefix.size()) : pingText).trimmed();
}

std::optional<QString> ServerSummary::unfoundHostName(const CodServer& server)
{
    const QString host = server.serverIp().section(u':', 0, 0);
    if (!server.serverResolvedIp().isEmpty() || !ServerAddress::isHostName(host))
        return std::nullopt;
    return host;
}

QString ServerSummary::statusLineOf(const CodServer& server)
{
    switch (server.commError()) {
    case CodServer::NeverContacted:
        return QStringLiteral("Server has not been refreshed");
    case CodServer::Answered:
        return server.lastUpdate() ? QStringLiteral("Last update: %1").arg(server.lastUpdateText())
                                   : QStringLiteral("Update in progress please wait and try again");
    case CodServer::Unreachable:
        if (const std::optional<QString> name = unfoundHostName(server))
            return QStringLiteral("No address found for the host name %1").arg(*name);
        return QStringLiteral("Problem to contact the server (bad ip, map rotation,...)");
    case CodServer::RconFailed:
        return QStringLiteral("Problem to send a rcon command (two consecutive refresh, latency too low, ...)");
    default:
        return {};
    }
}
