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
    return passes(ServerFacts::of(server));
}

bool ServerFilter::passes(const ServerFacts& server) const
{
    // Folding a name already folded, as typed names mostly are, copies nothing.
    if (!name.isEmpty() && !server.foldedName.contains(name.toCaseFolded()))
        return false;
    if (!showEmpty && server.players == 0)
        return false;
    if (!showFull && server.players == server.maxClients)
        return false;
    if (hidePassword && server.passActive == 1)
        return false;
    if (onlyPunkBuster && server.punkBuster == 0)
        return false;
    if (!matchesEntry(server.map, map) || !matchesEntry(server.gametype, gametype))
        return false;
    if (pingLimit > 0 && server.ping > pingLimit)
        return false;
    return server.players >= minPlayers;
}

bool ServerFilter::narrows(const ServerFilter& other) const
{
    ServerFilter namedAsOther = *this;
    namedAsOther.name = other.name;
    return namedAsOther == other && name.toCaseFolded().contains(other.name.toCaseFolded());
}

QString ServerFilter::pingTime(const QString& pingText)
{
    return pingText.mid(pingPrefixLength);
}

int ServerFilter::pingOf(const QString& pingText)
{
    return TextValue::integerValue(pingTime(pingText));
}
