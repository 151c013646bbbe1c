#include "finders/ServerColumns.h"

#include "finders/ServerFilter.h"
#include "model/ServerFields.h"
#include "model/TextValue.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

const QString pingColumn = QStringLiteral("ping");
const QString playersColumn = QStringLiteral("players");
const QString friendlyFireColumn = QStringLiteral("serverFriendlyFire");

// The columns that read their text field as an integer: they show the number (the
// friendly fire shows it by name) and order by it.
const QHash<QString, ServerFields::Text>& numberColumns()
{
    static const QHash<QString, ServerFields::Text> columns = {
        {QStringLiteral("serverPassActive"), &CodServer::serverPassActive},
        {QStringLiteral("serverPunkBuster"), &CodServer::serverPunkBuster},
        {QStringLiteral("serverKillCam"), &CodServer::serverKillCam},
        {QStringLiteral("serverPure"), &CodServer::serverPure},
        {friendlyFireColumn, &CodServer::serverFriendlyFire},
    };
    return columns;
}

QString friendlyFireText(const QString& value)
{
    switch (TextValue::integerValue(value)) {
    case 0: return QStringLiteral("Off");
    case 1: return QStringLiteral("On");
    default: return QStringLiteral("Reflect");
    }
}

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

// The value a column orders by: a number, or a text compared without regard to case.
struct SortKey {
    qint64 number = 0;
    QString text;
};

SortKey sortKeyOf(const CodServer& server, const QString& identifier)
{
    if (identifier == pingColumn)
        return {pingSortValue(server), {}};
    if (identifier == playersColumn)
        return {server.serverPlayers().size(), {}};
    if (const ServerFields::Text number = numberColumns().value(identifier))
        return {TextValue::integerValue((server.*number)()), {}};
    const ServerFields::Text field = ServerFields::named(identifier);
    return {0, field ? (server.*field)().toCaseFolded() : QString()};
}

bool keyIsLess(const SortKey& a, const SortKey& b)
{
    return a.number != b.number ? a.number < b.number : a.text < b.text;
}

}  // namespace

namespace ServerColumns {

QVariant objectValue(const CodServer& server, const QString& identifier)
{
    if (identifier == pingColumn)
        return ServerFilter::pingTime(server.serverPing());
    if (identifier == playersColumn)
        return playersText(server);
    if (identifier == friendlyFireColumn)
        return friendlyFireText(server.serverFriendlyFire());
    if (const ServerFields::Text number = numberColumns().value(identifier))
        return TextValue::integerValue((server.*number)());
    const ServerFields::Text field = ServerFields::named(identifier);
    return field ? QVariant((server.*field)()) : QVariant();
}

void sortServers(QList<CodServerPtr>& servers, const QString& identifier, Qt::SortOrder order)
{
    // Each record's key is read once: its fields are behind the record's lock.
    std::vector<std::pair<SortKey, CodServerPtr>> keyed;
    keyed.reserve(servers.size());
    for (const CodServerPtr& server : std::as_const(servers))
        keyed.emplace_back(sortKeyOf(*server, identifier), server);
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? keyIsLess(a.first, b.first) : keyIsLess(b.first, a.first);
    });
    for (qsizetype i = 0; i < servers.size(); ++i)
        servers[i] = std::move(keyed[size_t(i)].second);
}

}  // namespace ServerColumns
