#include "history/HistorySchema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <array>
#include <atomic>

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

QStringList rowsOf(QSqlDatabase& database, const QString& statement)
{
    QSqlQuery query(database);
    QStringList rows;
    if (!query.exec(statement))
        return {QStringLiteral("unreadable")};
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < query.record().count(); ++column)
            row.append(query.value(column).isNull() ? QStringLiteral("null") : query.value(column).toString());
        rows.append(row.join(QLatin1Char('|')));
    }
    return rows;
}

// Each column of each table (its name, type, whether it may be empty, its default and
// its place in the key) and which of the table's indexes are unique.
QStringList descriptionOf(QSqlDatabase& database, const QStringList& tables)
{
    QStringList description;
    for (const QString& table : tables) {
        description.append(QStringLiteral("table ") + table);
        description += rowsOf(database, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk "
                                                       "FROM pragma_table_info('%1') ORDER BY cid").arg(table));
        description += rowsOf(database, QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list('%1') "
                                                       "ORDER BY name").arg(table));
    }
    return description;
}

// A database in memory with the tables this version writes, made by the same steps.
class ReferenceDatabase {
public:
    ReferenceDatabase()
        : connectionName(QStringLiteral("zorvel-history-reference-%1").arg(++count))
    {
        database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        database.setDatabaseName(QStringLiteral(":memory:"));
        if (database.open())
            HistorySchema::migrate(database);
    }
    ~ReferenceDatabase()
    {
        database.close();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }
    ReferenceDatabase(const ReferenceDatabase&) = delete;
    ReferenceDatabase& operator=(const ReferenceDatabase&) = delete;

    QSqlDatabase database;

private:
    static inline std::atomic<int> count = 0;
    const QString connectionName;
};

}  // namespace

bool HistorySchema::hasCurrentTables(QSqlDatabase& database)
{
    ReferenceDatabase reference;
    const QStringList tables =
        rowsOf(reference.database, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    return descriptionOf(database, tables) == descriptionOf(reference.database, tables);
}

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
