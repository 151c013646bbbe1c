#include "finders/PlayerColumns.h"

#include "finders/ServerFilter.h"

namespace {

QVariant lastUpdateAge(const CodServer& server, const QDateTime& now)
{
    const std::optional<QDateTime> lastUpdate = server.lastUpdate();
    if (!lastUpdate)
        return {};
    return PlayerColumns::ageText(double(lastUpdate->msecsTo(now)) / 1000.0);
}

}  // namespace

namespace PlayerColumns {

QVariant objectValue(const PlayerFound& result, const QString& identifier, const QDateTime& now)
{
    const CodServer& server = *result.thePlayerServer;
    if (identifier == u"playerName")
        return result.thePlayer->playerName();
    if (identifier == u"playerScore")
        return result.thePlayer->playerScore();
    if (identifier == u"serverName")
        return server.serverName();
    if (identifier == u"serverIP")
        return server.serverIp();
    if (identifier == u"serverPing")
        return ServerFilter::pingTime(server.serverPing());
    if (identifier == u"lastUpdate")
        return lastUpdateAge(server, now);
    return {};
}

QString ageText(double seconds)
{
    if (seconds < 60.0)
        return QString::asprintf("%.0f s", seconds);
    return QString::asprintf("> %.0f mn", seconds / 60.0);
}

}  // namespace PlayerColumns
