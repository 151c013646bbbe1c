#include "finders/ServerColumns.h"

#include "finders/ServerFilter.h"
#include "finders/SettingColumns.h"
#include "model/ServerFields.h"
#include "platform/TextValue.h"

#include <limits>

namespace {

const QString nameColumn = QStringLiteral("serverName");
const QString pingColumn = QStringLiteral("ping");
const QString playersColumn = QStringLiteral("players");

QString playersText(const CodServer& server)
{
    return QStringLiteral("%1/%2").arg(server.serverPlayers().size()).arg(server.serverMaxClients());
}

// A ping that did not come back sorts after every measured one.
int pingSortValue(const CodServer& server)
{
    const QString time = ServerFilter::pingTime(server.serverPing());
    if (!time.isEmpty() && time.at(0) == u'-')
        return std::numeric_limits<int>::max();
    return TextValue::integerValue(time);
}

}  // namespace

namespace ServerColumns {

QVariant objectValue(const CodServer& server, const QString& identifier)
{
    if (identifier == pingColumn)
        return ServerFilter::pingTime(server.serverPing());
    if (identifier == playersColumn)
        return playersText(server);
    const ServerFields::Text field = ServerFields::named(identifier);
    return field ? QVariant((server.*field)()) : QVariant();
}

ColumnOrder::Key sortKey(const CodServer& server, const QString& identifier)
{
    if (identifier == pingColumn)
        return {pingSortValue(server), {}};
    if (identifier == playersColumn)
        return {server.serverPlayers().size(), {}};
    if (const ServerFields::Text setting = SettingColumns::fieldOf(identifier))
        return {TextValue::integerValue((server.*setting)()), {}};
    const ServerFields::Text field = ServerFields::named(identifier);
    return {0, field ? (server.*field)().toCaseFolded() : QString()};
}

ColumnOrder::Key sortKey(const CodServer& server, const ServerFacts& facts, const QString& identifier)
{
    if (identifier == nameColumn)
        return {0, facts.foldedName};
    if (identifier == playersColumn)
        return {facts.players, {}};
    return sortKey(server, identifier);
}

}  // namespace ServerColumns
