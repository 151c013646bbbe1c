#include "history/SqliteStatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement);
}

sqlite3* SqliteStatement::connectionOf(const QSqlDatabase& database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool SqliteStatement::prepare(sqlite3* connectionToUse, const QString& text)
{
    sqlite3_finalize(std::exchange(statement, nullptr));
    connection = connectionToUse;
    if (!connection) {
        m_failure = {SQLITE_MISUSE, QStringLiteral("no SQLite connection")};
        return false;
    }
    if (sqlite3_prepare16_v2(connection, text.utf16(), int(text.size() * sizeof(char16_t)), &statement, nullptr)
        == SQLITE_OK)
        return true;
    keepFailure();
    return false;
}

void SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(statement, index, value);
}

void SqliteStatement::bind(int index, const QString& text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

bool SqliteStatement::stepOnce(Expect expected)
{
    m_failure = {};
    const int result = sqlite3_step(statement);
    if (result == SQLITE_ROW || result == SQLITE_DONE)
        return result == (expected == Expect::Row ? SQLITE_ROW : SQLITE_DONE);
    keepFailure();
    return false;
}

qint64 SqliteStatement::firstColumn() const
{
    return sqlite3_column_int64(statement, 0);
}

void SqliteStatement::reset()
{
    sqlite3_reset(statement);
}

qint64 SqliteStatement::lastInsertId() const
{
    return sqlite3_last_insert_rowid(connection);
}

void SqliteStatement::keepFailure()
{
    m_failure = {sqlite3_errcode(connection) & 0xff,
                 QString::fromUtf8(sqlite3_errmsg(connection))};
}
