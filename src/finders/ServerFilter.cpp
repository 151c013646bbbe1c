#include "finders/ServerFilter.h"

#include "platform/TextValue.h"

namespace {

// The ping text begins with "Ping: "; the time follows.
constexpr qsizetype pingPrefixLength = 6;

bool matchesEntry(const QString& field, const QString& entry)
{
    return entry == ServerFilter::all || field.compare(entry, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool ServerFilter::passes(const CodServer& server) const
{
    if (!name.isEmpty() && !server.serverName().contains(name, Qt::CaseInsensitive))
        return false;
    const qsizetype players = server.serverPlayers().size();
    if (!showEmpty && players == 0)
        return false;
    if (!showFull && players == TextValue::integerValue(server.serverMaxClients()))
        return false;
    if (hidePassword && TextValue::integerValue(server.serverPassActive()) == 1)
        return false;
    if (onlyPunkBuster && TextValue::integerValue(server.serverPunkBuster()) == 0)
        return false;
    if (!matchesEntry(server.serverMapName(), map) || !matchesEntry(server.serverGametype(), gametype))
        return false;
    if (pingLimit > 0 && pingOf(server.serverPing()) > pingLimit)
        return false;
    return players >= minPlayers;
}

QList<CodServerPtr> ServerFilter::apply(const QList<CodServerPtr>& servers) const
{
    QList<CodServerPtr> passing;
    for (const CodServerPtr& server : servers) {
        if (passes(*server))
            passing.append(server);
    }
    return passing;
}

QString ServerFilter::pingTime(const QString& pingText)
{
    return pingText.mid(pingPrefixLength);
}

int ServerFilter::pingOf(const QString& pingText)
{
    return TextValue::integerValue(pingTime(pingText));
}
