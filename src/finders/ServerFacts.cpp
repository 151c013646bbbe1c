#include "finders/ServerFacts.h"

#include "finders/ServerFilter.h"
#include "platform/TextValue.h"

ServerFacts ServerFacts::of(const CodServer& server)
{
    return {
        .foldedName = server.serverName().toCaseFolded(),
        .players = server.serverPlayers().size(),
        .maxClients = TextValue::integerValue(server.serverMaxClients()),
        .passActive = TextValue::integerValue(server.serverPassActive()),
        .punkBuster = TextValue::integerValue(server.serverPunkBuster()),
        .map = server.serverMapName(),
        .gametype = server.serverGametype(),
        .ping = ServerFilter::pingOf(server.serverPing()),
    };
}
