#include "history/HistoryQuestions.h"

#include "history/HistoryDatabase.h"
#include "history/HistoryStore.h"

#include <QSqlQuery>

#include <memory>

namespace {

// A change of map is told by the answer before it, looked for this far before the
// period: a server first seen in the period starts with a change to its map.
constexpr qint64 lookBackSeconds = 24 * 60 * 60;

// SQLite counts weekdays from Sunday; the window's rows start on Monday.
int mondayFirst(int sundayFirstDay)
{
    return (sundayFirstDay + 6) % 7;
}

}  // namespace

void HistoryQuestions::serverHistory(HistoryStore& store, const QString& address, qint64 since,
                                     qint64 stretchSeconds, QObject* receiver,
                                     std::function<void(const ServerHistory&)> answer)
{
    // Written on the history's thread, read on the UI thread after the job ended.
    auto history = std::make_shared<ServerHistory>();
    store.run(
        [history, address, since, stretchSeconds](HistoryDatabase& database) {
            *history = serverHistory(database, address, since, stretchSeconds);
        },
        receiver, [history, answer = std::move(answer)] { answer(*history); });
}

ServerHistory HistoryQuestions::serverHistory(HistoryDatabase& database, const QString& address, qint64 since,
                                              qint64 stretchSeconds)
{
    ServerHistory history;
    history.known = known(database, address);
    if (!history.known)
        return history;
    history.players = players(database, address, since, stretchSeconds);
    history.mapChanges = mapChanges(database, address, since);
    history.busyHours = busyHours(database, address, since);
    return history;
}

bool HistoryQuestions::known(HistoryDatabase& database, const QString& address)
{
    QSqlQuery query = database.select(QStringLiteral("SELECT 1 FROM answers JOIN servers ON servers.id = answers.server "
                                            "WHERE servers.address = ? LIMIT 1"),
                             {address});
    return query.next();
}

QList<ServerHistory::Point> HistoryQuestions::players(HistoryDatabase& database, const QString& address,
                                                      qint64 since, qint64 stretchSeconds)
{
    QSqlQuery query = database.select(QStringLiteral("SELECT MIN(answers.time), AVG(answers.players) "
                                            "FROM answers JOIN servers ON servers.id = answers.server "
                                            "WHERE servers.address = ? AND answers.time >= ? "
                                            "GROUP BY answers.time / ? ORDER BY 1"),
                             {address, since, qMax<qint64>(stretchSeconds, 1)});
    QList<ServerHistory::Point> points;
    while (query.next())
        points.append({query.value(0).toLongLong(), query.value(1).toDouble()});
    return points;
}

QList<ServerHistory::MapChange> HistoryQuestions::mapChanges(HistoryDatabase& database, const QString& address,
                                                             qint64 since)
{
    QSqlQuery query = database.select(
        QStringLiteral("SELECT time, map, players FROM ("
                       "SELECT answers.time AS time, answers.map AS map, answers.players AS players, "
                       "LAG(answers.map) OVER (ORDER BY answers.time) AS previous "
                       "FROM answers JOIN servers ON servers.id = answers.server "
                       "WHERE servers.address = ? AND answers.time >= ?) "
                       "WHERE time >= ? AND map <> '' AND previous IS NOT map ORDER BY time"),
        {address, since - lookBackSeconds, since});
    QList<ServerHistory::MapChange> changes;
    while (query.next())
        changes.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toInt()});
    return changes;
}

ServerHistory::BusyHours HistoryQuestions::busyHours(HistoryDatabase& database, const QString& address, qint64 since)
{
    QSqlQuery query = database.select(
        QStringLiteral("SELECT CAST(strftime('%w', answers.time, 'unixepoch', 'localtime') AS INTEGER), "
                       "CAST(strftime('%H', answers.time, 'unixepoch', 'localtime') AS INTEGER), AVG(answers.players) "
                       "FROM answers JOIN servers ON servers.id = answers.server "
                       "WHERE servers.address = ? AND answers.time >= ? GROUP BY 1, 2"),
        {address, since});
    ServerHistory::BusyHours hours;
    while (query.next()) {
        const int day = query.value(0).toInt();
        const int hour = query.value(1).toInt();
        if (day >= 0 && day < 7 && hour >= 0 && hour < 24)
            hours[size_t(mondayFirst(day))][size_t(hour)] = query.value(2).toDouble();
    }
    return hours;
}
