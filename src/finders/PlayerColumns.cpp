#include "finders/PlayerColumns.h"

#include "finders/ServerColumns.h"
#include "platform/TextValue.h"

#include <QHash>

#include <limits>

namespace {

// The columns that show a field of the result's server, by the identifier of the
// server finder's column that shows it too.
const QHash<QString, QString>& serverColumns()
{
    static const QHash<QString, QString> columns = {
        {QStringLiteral("serverName"), QStringLiteral("serverName")},
        {QStringLiteral("serverIP"), QStringLiteral("serverIp")},
        {QStringLiteral("serverPing"), QStringLiteral("ping")},
    };
    return columns;
}

// Milliseconds since the server's last answer, if it ever answered.
std::optional<qint64> ageOf(const CodServer& server, const QDateTime& now)
{
    const std::optional<QDateTime> lastUpdate = server.lastUpdate();
    if (!lastUpdate)
        return std::nullopt;
    return lastUpdate->msecsTo(now);
}

QVariant lastUpdateAge(const CodServer& server, const QDateTime& now)
{
    const std::optional<qint64> age = ageOf(server, now);
    return age ? QVariant(PlayerColumns::ageText(double(*age) / 1000.0)) : QVariant();
}

}  // namespace

namespace PlayerColumns {

QVariant objectValue(const PlayerFound& result, const QString& identifier, const QDateTime& now)
{
    const CodServer& server = *result.thePlayerServer;
    if (const auto serverColumn = serverColumns().constFind(identifier); serverColumn != serverColumns().cend())
        return ServerColumns::objectValue(server, *serverColumn);
    if (identifier == u"playerName")
        return result.thePlayer->playerName();
    if (identifier == u"playerScore")
        return result.thePlayer->playerScore();
    if (identifier == u"lastUpdate")
        return lastUpdateAge(server, now);
    return {};
}

ColumnOrder::Key sortKey(const PlayerFound& result, const QString& identifier, const QDateTime& now)
{
    const CodServer& server = *result.thePlayerServer;
    if (const auto serverColumn = serverColumns().constFind(identifier); serverColumn != serverColumns().cend())
        return ServerColumns::sortKey(server, *serverColumn);
    if (identifier == u"playerScore")
        return {TextValue::integerValue(result.thePlayer->playerScore()), {}};
    if (identifier == u"lastUpdate")
        return {ageOf(server, now).value_or(std::numeric_limits<qint64>::max()), {}};
    if (identifier == u"gameImage")
        return {0, server.serverGameName().toCaseFolded()};
    if (identifier == u"playerName")
        return {0, result.thePlayer->playerName().toCaseFolded()};
    return {};
}

void sortResults(QList<PlayerFound>& results, const QString& identifier, Qt::SortOrder order, const QDateTime& now)
{
    ColumnOrder::sortRows(
        results, [&](const PlayerFound& result) { return sortKey(result, identifier, now); }, order);
}

QString ageText(double seconds)
{
    if (seconds < 60.0)
        return QString::asprintf("%.0f s", seconds);
    return QString::asprintf("> %.0f min", seconds / 60.0);
}

}  // namespace PlayerColumns
