#include "history/HistoryDatabase.h"

#include "history/HistorySchema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>

#include <algorithm>
#include <atomic>

namespace {

// SQLite's result codes for a write that found no room (SQLITE_FULL), a file whose
// pages contradict each other (SQLITE_CORRUPT) and one that is no database at all
// (SQLITE_NOTADB).
const QString diskFullCode = QStringLiteral("13");
const QString corruptCode = QStringLiteral("11");
const QString notADatabaseCode = QStringLiteral("26");

bool isDamageCode(const QString& code)
{
    return code == corruptCode || code == notADatabaseCode;
}

QString newConnectionName()
{
    static std::atomic<int> count = 0;
    return QStringLiteral("zorvel-history-%1").arg(++count);
}

// Which sources each retention covers, as an SQL list (ServerAnswer::Source).
const QString favouriteSources = QStringLiteral("(0, 3)");
const QString scanSources = QStringLiteral("(1, 2)");

constexpr qint64 secondsPerDay = 24 * 60 * 60;

}  // namespace

HistoryDatabase::HistoryDatabase(const QString& path)
    : path(path)
    , connectionName(newConnectionName())
{
}

HistoryDatabase::~HistoryDatabase()
{
    disconnect();
}

HistoryDatabase::Opening HistoryDatabase::open()
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!connect())
        return Opening::Failed;
    switch (checkFile()) {
    case Health::Sound:
        return prepareFile() ? Opening::Opened : Opening::Failed;
    case Health::Unreadable:
        return Opening::Failed;
    case Health::Damaged:
        break;
    }
    return startAnew();
}

HistoryDatabase::Opening HistoryDatabase::startAnew()
{
    disconnect();
    serverIds.clear();
    openStays.clear();
    damageFound = false;
    if (!keepDamagedFile() || !connect() || !prepareFile())
        return Opening::Failed;
    return Opening::DamagedKept;
}

// Pages freed by pruning go back to the file system (incremental_vacuum): this takes
// effect only on a new file, before anything else is written to it. With write-ahead
// logging readers never wait for the writer, and a crash loses at most the last batches.
bool HistoryDatabase::prepareFile()
{
    if (!exec(QStringLiteral("PRAGMA auto_vacuum = INCREMENTAL")) || !exec(QStringLiteral("PRAGMA journal_mode = WAL"))
        || !exec(QStringLiteral("PRAGMA synchronous = NORMAL")))
        return false;
    if (!HistorySchema::migrate(database)) {
        m_lastError = QStringLiteral("its tables, of version %1, cannot be brought to version %2")
                          .arg(HistorySchema::versionOf(database))
                          .arg(HistorySchema::currentVersion);
        return false;
    }
    if (!HistorySchema::hasCurrentTables(database)
        || !statements.emplace().prepare(SqliteStatement::connectionOf(database))) {
        m_lastError = QStringLiteral("its tables are not those this version of Zorvel writes");
        return false;
    }
    return true;
}

bool HistoryDatabase::connect()
{
    database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(path);
    if (!database.open()) {
        m_lastError = database.lastError().text();
        return false;
    }
    return true;
}

void HistoryDatabase::disconnect()
{
    statements.reset();
    if (!database.isValid())
        return;
    database.close();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

// Only a file that SQLite finds corrupt, or no database at all, counts as damaged: one
// that another program holds or that cannot be read is left as it is.
HistoryDatabase::Health HistoryDatabase::checkFile()
{
    QSqlQuery check(database);
    if (check.exec(QStringLiteral("PRAGMA quick_check")) && check.next())
        return check.value(0).toString() == QStringLiteral("ok") ? Health::Sound : Health::Damaged;
    failed(check.lastError());
    return isDamageCode(check.lastError().nativeErrorCode()) ? Health::Damaged : Health::Unreadable;
}

// The damaged file and its log stay beside the new one, under the date they were
// found damaged, for whoever wants to look into them.
bool HistoryDatabase::keepDamagedFile()
{
    const QString kept =
        path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path, kept)) {
        m_lastError = QStringLiteral("%1 could not be renamed").arg(path);
        return false;
    }
    QFile::rename(path + QStringLiteral("-wal"), kept + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    m_keptDamagedPath = kept;
    return true;
}

bool HistoryDatabase::Statements::prepare(sqlite3* connection)
{
    return insertServer.prepare(connection, QStringLiteral("INSERT OR IGNORE INTO servers (address, game) VALUES (coalesce(?, ''), coalesce(?, ''))"))
        && selectServer.prepare(connection, QStringLiteral("SELECT id FROM servers WHERE address = coalesce(?, '')"))
        && insertAnswer.prepare(connection, QStringLiteral(
            "INSERT INTO answers (server, time, source, name, map, gametype, players, max_players, ping) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"))
        && insertStay.prepare(connection, QStringLiteral(
            "INSERT INTO stays (server, source, name, raw_name, first_seen, last_seen) "
            "VALUES (?, ?, coalesce(?, ''), coalesce(?, ''), ?, ?)"))
        && extendStay.prepare(connection, QStringLiteral("UPDATE stays SET last_seen = ? WHERE id = ?"));
}

bool HistoryDatabase::exec(const QString& statement)
{
    QSqlQuery query(database);
    return query.exec(statement) || failed(query.lastError());
}

qint64 HistoryDatabase::numberOf(const QString& statement)
{
    QSqlQuery query(database);
    if (!query.exec(statement) || !query.next())
        return 0;
    return query.value(0).toLongLong();
}

HistoryDatabase::Writing HistoryDatabase::write(const std::vector<ServerAnswer>& answers)
{
    if (!statements)
        return Writing::Failed;
    bool written = database.transaction() || failed(database.lastError());
    for (auto answer = answers.cbegin(); written && answer != answers.cend(); ++answer)
        written = writeAnswer(*answer);
    written = written && (database.commit() || failed(database.lastError()));
    if (written)
        return Writing::Written;
    database.rollback();
    // What was cached of this batch's rows went with it.
    serverIds.clear();
    openStays.clear();
    return lastFailure.nativeErrorCode() == diskFullCode ? Writing::DiskFull : Writing::Failed;
}

bool HistoryDatabase::failed(const QSqlError& error)
{
    lastFailure = error;
    damageFound = damageFound || isDamageCode(error.nativeErrorCode());
    m_lastError = error.text();
    return false;
}

bool HistoryDatabase::failed(const SqliteStatement& statement)
{
    const SqliteStatement::Failure& failure = statement.failure();
    return failed(QSqlError(QString(), failure.message, QSqlError::StatementError, QString::number(failure.code)));
}

bool HistoryDatabase::run(QSqlQuery& query)
{
    return query.exec() || failed(query.lastError());
}

bool HistoryDatabase::writeAnswer(const ServerAnswer& answer)
{
    const std::optional<qint64> server = serverId(answer);
    if (!server)
        return false;
    SqliteStatement& insert = statements->insertAnswer;
    if (!insert.execute(*server, answer.time, int(answer.source), answer.name, answer.map, answer.gametype,
                        answer.players, answer.maxPlayers, answer.ping))
        return failed(insert);
    return writeStays(*server, answer);
}

std::optional<qint64> HistoryDatabase::serverId(const ServerAnswer& answer)
{
    const auto known = serverIds.constFind(answer.address);
    if (known != serverIds.cend())
        return *known;
    if (!statements->insertServer.execute(answer.address, answer.game)) {
        failed(statements->insertServer);
        return std::nullopt;
    }
    const std::optional<qint64> id = statements->selectServer.number(answer.address);
    if (!id) {
        failed(statements->selectServer);
        return std::nullopt;
    }
    serverIds.insert(answer.address, *id);
    return id;
}

// Each player listed goes on with the stay the server's previous answer listed it
// in, when that answer is recent enough; the others begin a stay.
bool HistoryDatabase::writeStays(qint64 server, const ServerAnswer& answer)
{
    Stays& stays = openStays[server];
    const bool goesOn = answer.time - stays.lastAnswer <= stayGapSeconds && answer.time >= stays.lastAnswer;
    StayIds listed;
    listed.reserve(size_t(answer.playerList.size()));
    for (const CodPlayerPtr& player : answer.playerList) {
        const QString rawName = ServerAnswer::rawNameOf(*player);
        const std::optional<qint64> open = goesOn ? stayOf(stays.ids, rawName) : std::nullopt;
        if (open) {
            if (!statements->extendStay.execute(answer.time, *open))
                return failed(statements->extendStay);
            listed.emplace_back(rawName, *open);
            continue;
        }
        SqliteStatement& insert = statements->insertStay;
        if (!insert.execute(server, int(answer.source), player->playerName(), rawName, answer.time, answer.time))
            return failed(insert);
        listed.emplace_back(rawName, insert.lastInsertId());
    }
    std::sort(listed.begin(), listed.end());
    stays = {answer.time, std::move(listed)};
    return true;
}

std::optional<qint64> HistoryDatabase::stayOf(const StayIds& ids, const QString& rawName)
{
    const auto found = std::lower_bound(ids.cbegin(), ids.cend(), rawName,
                                        [](const auto& stay, const QString& name) { return stay.first < name; });
    if (found == ids.cend() || found->first != rawName)
        return std::nullopt;
    return found->second;
}

bool HistoryDatabase::prune(const HistoryRetention& retention, qint64 now)
{
    const bool pruned = pruneByAge(favouriteSources, now - retention.favouriteDays * secondsPerDay)
        && pruneByAge(scanSources, now - retention.scanDays * secondsPerDay) && pruneServers()
        && pruneBySize(retention.sizeLimitBytes) && giveFreePagesBack();
    // Servers may be gone: they are looked up again. A stay that may still go on is
    // kept while its row is.
    serverIds.clear();
    keepOpenStaysThatRemain(now);
    return pruned;
}

void HistoryDatabase::keepOpenStaysThatRemain(qint64 now)
{
    QSet<qint64> remaining;
    QSqlQuery query = select(QStringLiteral("SELECT id FROM stays WHERE last_seen >= ?"), {now - stayGapSeconds});
    while (query.next())
        remaining.insert(query.value(0).toLongLong());
    for (auto server = openStays.begin(); server != openStays.end();) {
        std::erase_if(server->ids, [&remaining](const auto& stay) { return !remaining.contains(stay.second); });
        server = server->ids.empty() ? openStays.erase(server) : std::next(server);
    }
}

// Servers of which nothing is left.
bool HistoryDatabase::pruneServers()
{
    return exec(QStringLiteral("DELETE FROM servers WHERE id NOT IN (SELECT server FROM answers) "
                               "AND id NOT IN (SELECT server FROM stays)"));
}

// The vacuum frees one page at each step of its statement, and Qt steps a statement
// without columns once: it runs again while that frees a page.
bool HistoryDatabase::giveFreePagesBack()
{
    QSqlQuery vacuum(database);
    if (!vacuum.prepare(QStringLiteral("PRAGMA incremental_vacuum")))
        return failed(vacuum.lastError());
    for (qint64 free = numberOf(QStringLiteral("PRAGMA freelist_count")), before = free + 1; free > 0 && free < before;
         before = free, free = numberOf(QStringLiteral("PRAGMA freelist_count"))) {
        if (!run(vacuum))
            return false;
    }
    return true;
}

bool HistoryDatabase::pruneByAge(const QString& sources, qint64 before)
{
    const QString bound = QString::number(before);
    return exec(QStringLiteral("DELETE FROM answers WHERE source IN %1 AND time < %2").arg(sources, bound))
        && exec(QStringLiteral("DELETE FROM stays WHERE source IN %1 AND last_seen < %2").arg(sources, bound));
}

// Each round drops the oldest tenth of the answers (at least the oldest one), and the
// stays that ended by then.
bool HistoryDatabase::pruneBySize(qint64 limitBytes)
{
    while (usedBytes() > limitBytes) {
        const qint64 answers = numberOf(QStringLiteral("SELECT count(*) FROM answers"));
        if (answers == 0)
            return exec(QStringLiteral("DELETE FROM stays"));
        const QString cutoff =
            QStringLiteral("(SELECT time FROM answers ORDER BY time LIMIT 1 OFFSET %1)").arg(answers / 10);
        if (!exec(QStringLiteral("DELETE FROM stays WHERE last_seen <= %1").arg(cutoff))
            || !exec(QStringLiteral("DELETE FROM answers WHERE time <= %1").arg(cutoff)) || !pruneServers())
            return false;
    }
    return true;
}

qint64 HistoryDatabase::usedBytes()
{
    return (numberOf(QStringLiteral("PRAGMA page_count")) - numberOf(QStringLiteral("PRAGMA freelist_count")))
        * numberOf(QStringLiteral("PRAGMA page_size"));
}

// A query that failed has no rows.
QSqlQuery HistoryDatabase::select(const QString& statement, const QVariantList& values)
{
    QSqlQuery query(database);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    run(query);
    return query;
}

QList<PlayerCount> HistoryDatabase::playersOverTime(const QString& address, qint64 since)
{
    QSqlQuery query = select(QStringLiteral("SELECT answers.time, answers.players, answers.max_players, answers.map "
                                            "FROM answers JOIN servers ON servers.id = answers.server "
                                            "WHERE servers.address = ? AND answers.time >= ? ORDER BY answers.time"),
                             {address, since});
    QList<PlayerCount> counts;
    while (query.next())
        counts.append({query.value(0).toLongLong(), query.value(1).toInt(), query.value(2).toInt(),
                       query.value(3).toString()});
    return counts;
}

QList<Sighting> HistoryDatabase::lastSightings(const QString& text, int limit)
{
    QSqlQuery query = select(
        QStringLiteral(
            "SELECT stays.name, stays.raw_name, servers.address, "
            "(SELECT name FROM answers WHERE answers.server = stays.server ORDER BY time DESC LIMIT 1), "
            "servers.game, stays.first_seen, stays.last_seen "
            "FROM stays JOIN servers ON servers.id = stays.server "
            "WHERE instr(lower(stays.name), lower(?)) > 0 ORDER BY stays.last_seen DESC, stays.id DESC LIMIT ?"),
        {text, limit});
    QList<Sighting> sightings;
    while (query.next())
        sightings.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                          query.value(3).toString(), query.value(4).toString(), query.value(5).toLongLong(),
                          query.value(6).toLongLong()});
    return sightings;
}
