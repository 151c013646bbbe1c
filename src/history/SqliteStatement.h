#pragma once

#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement on the SQLite connection under a QSqlDatabase, bound and
// stepped through SQLite's own interface. A scan's history is hundreds of thousands
// of rows written at once, and binding each value through QSqlQuery (a QVariant and a
// placeholder name per value) costs several times the writing itself.
//
// Values are bound in the order of the statement's "?" placeholders; a text is
// copied at binding, so it need not outlive the call.
class SqliteStatement {
public:
    // SQLite's result of the last step that failed, and its message.
    struct Failure {
        int code = 0;
        QString message;
    };

    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // The SQLite connection of an open QSqlDatabase of the "QSQLITE" driver, or null.
    static sqlite3* connectionOf(const class QSqlDatabase& database);

    // False, with the failure kept, when the text is no statement of the connection.
    bool prepare(sqlite3* connection, const QString& statement);

    // Runs the statement to its end with the values; false, with the failure kept,
    // when it did not get there.
    template <typename... Values>
    bool execute(const Values&... values)
    {
        bindAll(values...);
        const bool done = stepOnce(Expect::Done);
        reset();
        return done;
    }
    // Runs the statement with the values and gives the first column of its first
    // row; nothing when it has no row or failed (failure() tells which).
    template <typename... Values>
    std::optional<qint64> number(const Values&... values)
    {
        bindAll(values...);
        const bool hasRow = stepOnce(Expect::Row);
        const std::optional<qint64> value = hasRow ? std::optional(firstColumn()) : std::nullopt;
        reset();
        return value;
    }
    // The row id of the last row this statement's connection inserted.
    qint64 lastInsertId() const;
    const Failure& failure() const { return m_failure; }

private:
    enum class Expect { Done, Row };

    template <typename... Values>
    void bindAll(const Values&... values)
    {
        int index = 0;
        (bind(++index, values), ...);
    }
    void bind(int index, qint64 value);
    void bind(int index, int value) { bind(index, qint64(value)); }
    void bind(int index, const QString& text);
    // Steps once; true when the step gave what was expected. A step that gives no
    // row to a statement that expects one is no failure.
    bool stepOnce(Expect expected);
    qint64 firstColumn() const;
    // Makes the statement ready for its next run, and lets go of what it read.
    void reset();
    void keepFailure();

    sqlite3* connection = nullptr;
    sqlite3_stmt* statement = nullptr;
    Failure m_failure;
};
