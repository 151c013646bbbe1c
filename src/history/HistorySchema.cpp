#include "history/HistorySchema.h"

#include <QSqlQuery>
#include <QStringList>

#include <array>

namespace {

// The statements of each step, the first step first.
const std::array<QStringList, HistorySchema::currentVersion> steps = {
    QStringList{
        QStringLiteral("CREATE TABLE servers (id INTEGER PRIMARY KEY, address TEXT NOT NULL UNIQUE, "
                       "game TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE answers (server INTEGER NOT NULL, time INTEGER NOT NULL, name TEXT, "
                       "map TEXT, gametype TEXT, players INTEGER, max_players INTEGER, ping INTEGER)"),
        QStringLiteral("CREATE INDEX answers_by_server ON answers (server, time)"),
        QStringLiteral("CREATE TABLE stays (id INTEGER PRIMARY KEY, server INTEGER NOT NULL, name TEXT NOT NULL, "
                       "raw_name TEXT NOT NULL, first_seen INTEGER NOT NULL, last_seen INTEGER NOT NULL)"),
    },
    QStringList{
        // What was recorded before sources existed is kept as long as a favourite's.
        QStringLiteral("ALTER TABLE answers ADD COLUMN source INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE stays ADD COLUMN source INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("CREATE INDEX stays_by_last_seen ON stays (last_seen)"),
    },
};

bool run(QSqlDatabase& database, const QString& statement)
{
    QSqlQuery query(database);
    return query.exec(statement);
}

bool runStep(QSqlDatabase& database, int toVersion)
{
    if (!database.transaction())
        return false;
    for (const QString& statement : steps[size_t(toVersion - 1)]) {
        if (!run(database, statement)) {
            database.rollback();
            return false;
        }
    }
    if (!run(database, QStringLiteral("PRAGMA user_version = %1").arg(toVersion))) {
        database.rollback();
        return false;
    }
    return database.commit();
}

}  // namespace

int HistorySchema::versionOf(QSqlDatabase& database)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool HistorySchema::migrate(QSqlDatabase& database, int toVersion)
{
    const int version = versionOf(database);
    if (version < 0 || version > currentVersion)
        return false;
    for (int next = version + 1; next <= toVersion; ++next) {
        if (!runStep(database, next))
            return false;
    }
    return true;
}
