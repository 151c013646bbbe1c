#pragma once

#include "history/HistoryRecords.h"
#include "history/ServerAnswer.h"
#include "history/SqliteStatement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// The history's SQLite file, used from one thread only: the one that made it. It
// writes answers in batches, prunes by age and size, and answers the questions of
// the windows. HistoryStore runs it on a thread of its own.
//
// A player's stay on a server goes on while each answer of the server lists the
// player again within stayGapSeconds of the last; after a longer pause, or once an
// answer did not list the player, a new stay begins.
class HistoryDatabase {
public:
    enum class Opening {
        Opened,
        // The file failed its check: it was kept under keptDamagedPath() and a new
        // one was started.
        DamagedKept,
        // Nothing can be recorded (lastError() says why).
        Failed,
    };
    enum class Writing { Written, DiskFull, Failed };

    static constexpr qint64 stayGapSeconds = 15 * 60;

    explicit HistoryDatabase(const QString& path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    // Opens the file, creating it and its folder, checks it ("quick_check"), sets
    // write-ahead logging and brings its tables up to the current version.
    Opening open();
    // Whether SQLite found the file damaged since it was opened. The check at opening
    // reads only what it must, so a damaged page may show only when a write or a
    // question reaches it.
    bool isDamaged() const { return damageFound; }
    // Keeps the damaged file under a dated name and starts a new one: DamagedKept, or
    // Failed when that cannot be done.
    Opening startAnew();
    QString keptDamagedPath() const { return m_keptDamagedPath; }
    QString lastError() const { return m_lastError; }

    // Writes the answers and their players' stays in one transaction; nothing of
    // them is written when it fails.
    Writing write(const std::vector<ServerAnswer>& answers);
    // Deletes what is older than its source's days before now, then the oldest
    // answers and stays until the used size is within the limit, and gives the freed
    // pages back to the file system.
    bool prune(const HistoryRetention& retention, qint64 now);
    // The bytes the tables and indexes take (the file's pages that are not free).
    qint64 usedBytes();

    // The server's answers from the time on, oldest first.
    QList<PlayerCount> playersOverTime(const QString& address, qint64 since);
    // The stays of players whose colour-free name holds the text, ignoring case, the
    // latest seen first, at most limit of them.
    QList<Sighting> lastSightings(const QString& text, int limit);

    // The connection, for statements of the caller's own on this thread.
    QSqlDatabase& connection() { return database; }
    // The rows of the statement with the values bound, or none when it failed.
    QSqlQuery select(const QString& statement, const QVariantList& values);

private:
    // A stay's id by the player's raw name, sorted by the name. A scan leaves one
    // list for every server it recorded, so it is kept as small as it can be.
    using StayIds = std::vector<std::pair<QString, qint64>>;
    struct Stays {
        qint64 lastAnswer = 0;
        StayIds ids;
    };

    enum class Health { Sound, Damaged, Unreadable };

    bool connect();
    void disconnect();
    Health checkFile();
    bool prepareFile();
    bool keepDamagedFile();
    bool writeAnswer(const ServerAnswer& answer);
    std::optional<qint64> serverId(const ServerAnswer& answer);
    bool writeStays(qint64 server, const ServerAnswer& answer);
    // The stay the player's raw name has in the list, if any.
    static std::optional<qint64> stayOf(const StayIds& ids, const QString& rawName);
    bool pruneByAge(const QString& sources, qint64 before);
    bool pruneBySize(qint64 limitBytes);
    bool pruneServers();
    // Forgets the open stays that pruning deleted, or that ended before the gap.
    void keepOpenStaysThatRemain(qint64 now);
    bool giveFreePagesBack();
    bool exec(const QString& statement);
    // Runs a prepared query; false, keeping its error, when it failed.
    bool run(QSqlQuery& query);
    // Keeps the error; always false.
    bool failed(const QSqlError& error);
    bool failed(const SqliteStatement& statement);
    // The one number a statement gives (a count, a pragma's value); 0 when none.
    qint64 numberOf(const QString& statement);

    const QString path;
    const QString connectionName;
    QSqlDatabase database;
    // The statements each batch runs, prepared once the file is open.
    struct Statements {
        bool prepare(sqlite3* connection);
        SqliteStatement insertServer;
        SqliteStatement selectServer;
        SqliteStatement insertAnswer;
        SqliteStatement insertStay;
        SqliteStatement extendStay;
    };
    std::optional<Statements> statements;
    QString m_keptDamagedPath;
    QString m_lastError;
    QSqlError lastFailure;
    bool damageFound = false;
    // Looked up once per run: address to row id, and the open stays of each server.
    QHash<QString, qint64> serverIds;
    QHash<qint64, Stays> openStays;
};
