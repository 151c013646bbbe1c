// The history file itself: its tables and their migrations, the answers and stays
// written, pruning, a damaged file and a full disk, on real SQLite files in a
// temporary folder.
#include "history/HistoryDatabase.h"
#include "history/HistorySchema.h"
#include "model/CodServer.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr qint64 day = 24 * 60 * 60;
constexpr qint64 now = 1'800'000'000;

ServerAnswer answerAt(qint64 time, const QString& address, const QStringList& players,
                      ServerAnswer::Source source = ServerAnswer::Source::Favourite)
{
    ServerAnswer answer;
    answer.time = time;
    answer.source = source;
    answer.address = address;
    answer.game = QStringLiteral("Call of Duty 2");
    answer.name = QStringLiteral("Server at ") + address;
    answer.map = QStringLiteral("mp_toujane");
    answer.maxPlayers = 20;
    for (const QString& player : players)
        answer.playerList.append(std::make_shared<const CodPlayer>(
            CodPlayer::Fields{.name = CodServer::clearColoredName(player), .colouredName = player}));
    answer.players = int(answer.playerList.size());
    return answer;
}

qint64 countOf(HistoryDatabase& database, const QString& table)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT count(*) FROM ") + table));
    return query.next() ? query.value(0).toLongLong() : -1;
}

class HistoryDatabaseTest : public testing::Test {
protected:
    QString path() const { return folder.filePath(QStringLiteral("Zorvel/history.sqlite")); }

    std::unique_ptr<HistoryDatabase> opened()
    {
        auto database = std::make_unique<HistoryDatabase>(path());
        EXPECT_EQ(database->open(), HistoryDatabase::Opening::Opened) << database->lastError().toStdString();
        return database;
    }

    QTemporaryDir folder;
};

TEST_F(HistoryDatabaseTest, CreatesTheFileInWriteAheadLoggingAtTheCurrentVersion)
{
    auto database = opened();
    EXPECT_EQ(HistorySchema::versionOf(database->connection()), HistorySchema::currentVersion);
    QSqlQuery mode(database->connection());
    ASSERT_TRUE(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
    EXPECT_EQ(mode.value(0).toString(), QStringLiteral("wal"));
    EXPECT_TRUE(QFile::exists(path()));
}

// A file of the first version, with an answer and a stay, is brought to the current
// one: both stay, counted as a favourite's, and the columns added since work.
TEST_F(HistoryDatabaseTest, MigratesAnOlderFileKeepingWhatItHolds)
{
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        old.setDatabaseName(path());
        ASSERT_TRUE(old.open());
        ASSERT_TRUE(HistorySchema::migrate(old, 1));
        EXPECT_EQ(HistorySchema::versionOf(old), 1);
        QSqlQuery insert(old);
        ASSERT_TRUE(insert.exec(QStringLiteral("INSERT INTO servers (id, address, game) VALUES (1, '10.0.0.1:28960', 'x')")));
        ASSERT_TRUE(insert.exec(QStringLiteral(
            "INSERT INTO answers (server, time, name, map, gametype, players, max_players, ping) "
            "VALUES (1, %1, 'Old', 'mp_carentan', 'tdm', 3, 16, 40)").arg(now - 30 * day)));
        ASSERT_TRUE(insert.exec(QStringLiteral(
            "INSERT INTO stays (server, name, raw_name, first_seen, last_seen) VALUES (1, 'Sarge', '^1Sarge', %1, %1)")
                                    .arg(now - 30 * day)));
        insert = QSqlQuery();
        old.close();
        old = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
    }
    auto database = opened();
    EXPECT_EQ(HistorySchema::versionOf(database->connection()), HistorySchema::currentVersion);
    const QList<PlayerCount> counts = database->playersOverTime(QStringLiteral("10.0.0.1:28960"), 0);
    ASSERT_EQ(counts.size(), 1);
    EXPECT_EQ(counts.first().players, 3);
    EXPECT_EQ(counts.first().map, QStringLiteral("mp_carentan"));
    // Kept as long as a favourite's: a scan's 14 days would have dropped both.
    ASSERT_TRUE(database->prune({.favouriteDays = 90, .scanDays = 14}, now));
    EXPECT_EQ(database->playersOverTime(QStringLiteral("10.0.0.1:28960"), 0).size(), 1);
    EXPECT_EQ(database->lastSightings(QStringLiteral("sarge"), 10).size(), 1);
}

// A file of a newer version, or one at this version whose tables were changed (here
// the servers' id is no longer their row key, so no answer would find its server), is
// refused and left as it was: nothing is written into it.
TEST_F(HistoryDatabaseTest, LeavesAFileWhoseTablesItDoesNotKnowAlone)
{
    const auto refused = [this](const QStringList& changes) {
        QFile::remove(path());
        opened().reset();
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path());
            EXPECT_TRUE(other.open());
            for (const QString& change : changes)
                EXPECT_TRUE(QSqlQuery(other).exec(change)) << change.toStdString();
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        }
        const QByteArray before = Files::contentOf(path());
        HistoryDatabase database(path());
        const bool failed = database.open() == HistoryDatabase::Opening::Failed;
        EXPECT_EQ(database.write({answerAt(now, QStringLiteral("10.0.0.1:28960"), {QStringLiteral("Sarge")})}),
                  HistoryDatabase::Writing::Failed);
        EXPECT_EQ(Files::contentOf(path()), before);
        return failed;
    };
    EXPECT_TRUE(refused({QStringLiteral("PRAGMA user_version = 99")}));
    EXPECT_TRUE(refused({
        QStringLiteral("DROP TABLE servers"),
        QStringLiteral("CREATE TABLE servers (id INTERRG EPIMARY KEY, address TEXT NOT NULL UNIQUE, "
                       "game TEXT NOT NULL DEFAULT '')"),
    }));
    EXPECT_TRUE(refused({
        QStringLiteral("DROP TABLE servers"),
        QStringLiteral("CREATE TABLE servers (id INTEGER PRIMARY KEY, address TEXT NOT NULL, "
                       "game TEXT NOT NULL DEFAULT '')"),
    })) << "without its unique address, a server would be written again at every answer";
}

// A player goes on staying while the server lists it again within the gap; leaving
// for one answer, or a longer pause, begins another stay.
TEST_F(HistoryDatabaseTest, TellsEachStayOfAPlayerTheLatestFirst)
{
    auto database = opened();
    const QString alpha = QStringLiteral("10.0.0.1:28960");
    const QString beta = QStringLiteral("10.0.0.2:28960");
    const qint64 gap = HistoryDatabase::stayGapSeconds;
    ASSERT_EQ(database->write({answerAt(now, alpha, {QStringLiteral("^1[ZV]Sarge"), QStringLiteral("Grunt")}),
                               answerAt(now + 60, alpha, {QStringLiteral("Grunt")}),
                               answerAt(now + 120, alpha, {QStringLiteral("^1[ZV]Sarge"), QStringLiteral("Grunt")})}),
              HistoryDatabase::Writing::Written);
    ASSERT_EQ(database->write({answerAt(now + 120 + gap + 1, alpha, {QStringLiteral("Grunt")}),
                               answerAt(now + 200, beta, {QStringLiteral("[zv]Mynx")})}),
              HistoryDatabase::Writing::Written);

    const QList<Sighting> clan = database->lastSightings(QStringLiteral("[Zv]"), 10);
    ASSERT_EQ(clan.size(), 3);
    EXPECT_EQ(clan[0].name, QStringLiteral("[zv]Mynx"));
    EXPECT_EQ(clan[0].address, beta);
    EXPECT_EQ(clan[0].serverName, QStringLiteral("Server at ") + beta);
    EXPECT_EQ(clan[1].rawName, QStringLiteral("^1[ZV]Sarge"));
    EXPECT_EQ(clan[1].firstSeen, now + 120);
    EXPECT_EQ(clan[2].firstSeen, now);
    EXPECT_EQ(clan[2].lastSeen, now);

    const QList<Sighting> grunt = database->lastSightings(QStringLiteral("grunt"), 10);
    ASSERT_EQ(grunt.size(), 2);
    EXPECT_EQ(grunt[0].firstSeen, now + 120 + gap + 1);
    EXPECT_EQ(grunt[1].firstSeen, now);
    EXPECT_EQ(grunt[1].lastSeen, now + 120);
    EXPECT_EQ(database->lastSightings(QStringLiteral("grunt"), 1).size(), 1);

    const QList<PlayerCount> counts = database->playersOverTime(alpha, now + 60);
    ASSERT_EQ(counts.size(), 3);
    EXPECT_EQ(counts[0].players, 1);
    EXPECT_EQ(counts[1].players, 2);
    EXPECT_EQ(counts[2].time, now + 120 + gap + 1);
}

TEST_F(HistoryDatabaseTest, PrunesEachSourceByItsOwnAge)
{
    auto database = opened();
    const QString favourite = QStringLiteral("10.0.0.1:28960");
    const QString scanned = QStringLiteral("10.0.0.2:28960");
    const auto scan = ServerAnswer::Source::Scan;
    ASSERT_EQ(database->write({answerAt(now - 100 * day, favourite, {QStringLiteral("Ancient")}),
                               answerAt(now - 20 * day, favourite, {QStringLiteral("Recent")}),
                               answerAt(now - 20 * day, scanned, {QStringLiteral("Gone")}, scan),
                               answerAt(now - 10 * day, scanned, {QStringLiteral("Kept")}, scan)}),
              HistoryDatabase::Writing::Written);
    ASSERT_TRUE(database->prune({.favouriteDays = 90, .scanDays = 14}, now));
    EXPECT_EQ(database->playersOverTime(favourite, 0).size(), 1);
    EXPECT_EQ(database->playersOverTime(scanned, 0).size(), 1);
    EXPECT_TRUE(database->lastSightings(QStringLiteral("Ancient"), 10).isEmpty());
    EXPECT_TRUE(database->lastSightings(QStringLiteral("Gone"), 10).isEmpty());
    EXPECT_EQ(database->lastSightings(QStringLiteral("Recent"), 10).size(), 1);
    EXPECT_EQ(database->lastSightings(QStringLiteral("Kept"), 10).size(), 1);
    // A server with nothing left goes too; one answering again comes back.
    ASSERT_TRUE(database->prune({.favouriteDays = 1, .scanDays = 1}, now));
    EXPECT_EQ(countOf(*database, QStringLiteral("servers")), 0);
    ASSERT_EQ(database->write({answerAt(now, favourite, {})}), HistoryDatabase::Writing::Written);
    EXPECT_EQ(database->playersOverTime(favourite, 0).size(), 1);
}

// Pruning runs at start and once a day, between answers: a player who stays on goes
// on with the stay the pruning left, and one whose stay it deleted begins another.
TEST_F(HistoryDatabaseTest, AStayGoesOnThroughAPruningThatLeftIt)
{
    auto database = opened();
    const QString address = QStringLiteral("10.0.0.1:28960");
    ASSERT_EQ(database->write({answerAt(now, address, {QStringLiteral("Sarge")})}), HistoryDatabase::Writing::Written);
    ASSERT_TRUE(database->prune({}, now + 30));
    ASSERT_EQ(database->write({answerAt(now + 60, address, {QStringLiteral("Sarge")})}),
              HistoryDatabase::Writing::Written);
    QList<Sighting> sarge = database->lastSightings(QStringLiteral("sarge"), 10);
    ASSERT_EQ(sarge.size(), 1);
    EXPECT_EQ(sarge.first().firstSeen, now);
    EXPECT_EQ(sarge.first().lastSeen, now + 60);

    ASSERT_TRUE(database->prune({.sizeLimitBytes = 0}, now + 90));
    ASSERT_EQ(countOf(*database, QStringLiteral("stays")), 0);
    ASSERT_EQ(database->write({answerAt(now + 120, address, {QStringLiteral("Sarge")})}),
              HistoryDatabase::Writing::Written);
    sarge = database->lastSightings(QStringLiteral("sarge"), 10);
    ASSERT_EQ(sarge.size(), 1) << "the deleted stay is not extended in vain";
    EXPECT_EQ(sarge.first().firstSeen, now + 120);
}

TEST_F(HistoryDatabaseTest, PrunesTheOldestUntilWithinTheSizeAndGivesThePagesBack)
{
    auto database = opened();
    std::vector<ServerAnswer> answers;
    for (int index = 0; index < 20000; ++index)
        answers.push_back(answerAt(now - 20000 + index, QStringLiteral("10.0.%1.%2:28960").arg(index / 250).arg(index % 250),
                                   {QStringLiteral("Player %1").arg(index)}));
    ASSERT_EQ(database->write(answers), HistoryDatabase::Writing::Written);
    const qint64 full = database->usedBytes();
    const qint64 limit = full / 4;
    ASSERT_TRUE(database->prune({.sizeLimitBytes = limit}, now));
    EXPECT_LE(database->usedBytes(), limit);
    const qint64 left = countOf(*database, QStringLiteral("answers"));
    EXPECT_GT(left, 1000);
    EXPECT_LT(left, 20000);
    // The newest answers and stays are the ones kept.
    EXPECT_EQ(database->playersOverTime(QStringLiteral("10.0.79.249:28960"), 0).size(), 1);
    EXPECT_TRUE(database->playersOverTime(QStringLiteral("10.0.0.0:28960"), 0).isEmpty());
    EXPECT_EQ(database->lastSightings(QStringLiteral("Player 19999"), 10).size(), 1);
    EXPECT_TRUE(database->lastSightings(QStringLiteral("Player 0"), 10).size() <= 1);
    QSqlQuery checkpoint(database->connection());
    ASSERT_TRUE(checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
    EXPECT_LT(QFileInfo(path()).size(), full / 2);
}

TEST_F(HistoryDatabaseTest, KeepsADamagedFileUnderADatedNameAndStartsANewOne)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QByteArray damaged = "SQLite format 3";
    damaged.append(char(0));
    damaged.append(QByteArray(8192, '\x5a'));
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    HistoryDatabase database(path());
    ASSERT_EQ(database.open(), HistoryDatabase::Opening::DamagedKept);
    EXPECT_TRUE(database.keptDamagedPath().startsWith(path() + QStringLiteral(".damaged-")));
    EXPECT_EQ(Files::contentOf(database.keptDamagedPath()), damaged);
    ASSERT_EQ(database.write({answerAt(now, QStringLiteral("10.0.0.1:28960"), {})}), HistoryDatabase::Writing::Written);
    EXPECT_EQ(database.playersOverTime(QStringLiteral("10.0.0.1:28960"), 0).size(), 1);
}

// A file that another program holds locked is no damaged file: it stays as it is.
TEST_F(HistoryDatabaseTest, LeavesAFileAnotherProgramHoldsAsItIs)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(path());
    ASSERT_TRUE(holder.open());
    {
        QSqlQuery hold(holder);
        ASSERT_TRUE(hold.exec(QStringLiteral("CREATE TABLE other (x)")));
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(hold.exec(QStringLiteral("INSERT INTO other VALUES (1)")));
        HistoryDatabase database(path());
        EXPECT_EQ(database.open(), HistoryDatabase::Opening::Failed);
        EXPECT_TRUE(database.keptDamagedPath().isEmpty());
        EXPECT_TRUE(QDir(folder.filePath(QStringLiteral("Zorvel")))
                        .entryList({QStringLiteral("history.sqlite.damaged-*")})
                        .isEmpty());
        ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
    }
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

// A file that can grow no more fails the whole batch, and says it is a full disk.
TEST_F(HistoryDatabaseTest, TellsAFullDiskAndWritesNothingOfTheBatch)
{
    auto database = opened();
    ASSERT_EQ(database->write({answerAt(now, QStringLiteral("10.0.0.1:28960"), {QStringLiteral("First")})}),
              HistoryDatabase::Writing::Written);
    QSqlQuery limit(database->connection());
    ASSERT_TRUE(limit.exec(QStringLiteral("PRAGMA max_page_count = %1")
                               .arg(database->usedBytes() / 4096 + 2)));
    std::vector<ServerAnswer> answers;
    for (int index = 0; index < 5000; ++index)
        answers.push_back(answerAt(now + 1, QStringLiteral("10.1.%1.%2:28960").arg(index / 250).arg(index % 250),
                                   {QStringLiteral("Later %1").arg(index)}));
    EXPECT_EQ(database->write(answers), HistoryDatabase::Writing::DiskFull);
    EXPECT_TRUE(database->lastSightings(QStringLiteral("Later"), 10).isEmpty());
    EXPECT_EQ(database->lastSightings(QStringLiteral("First"), 10).size(), 1);
}

TEST(ServerAnswerTest, TakesTheRecordsLastAnswer)
{
    const CodServerPtr server = CodServer::create();
    server->setServerIp(QStringLiteral("10.0.0.1:28960"));
    server->setServerName(QStringLiteral("Typed name"));
    server->statusAnswered(QStringLiteral("\\sv_hostname\\^2Green\\mapname\\mp_dawnville\\g_gametype\\sd"
                                          "\\gamename\\Call of Duty 2\\sv_maxclients\\24\n"
                                          "5 48 \"^1Sarge\"\n0 999 \"Grunt\"\n"),
                           37.4);
    const ServerAnswer answer = ServerAnswer::of(*server, ServerAnswer::Source::Scan);
    EXPECT_EQ(answer.address, QStringLiteral("10.0.0.1:28960"));
    EXPECT_EQ(answer.game, QStringLiteral("Call of Duty 2"));
    EXPECT_EQ(answer.map, QStringLiteral("mp_dawnville"));
    EXPECT_EQ(answer.gametype, QStringLiteral("sd"));
    EXPECT_EQ(answer.maxPlayers, 24);
    EXPECT_EQ(answer.ping, 37);
    EXPECT_EQ(answer.time, server->lastUpdate()->toSecsSinceEpoch());
    ASSERT_EQ(answer.players, 2);
    EXPECT_EQ(answer.playerList[0]->playerName(), QStringLiteral("Sarge"));
    EXPECT_EQ(ServerAnswer::rawNameOf(*answer.playerList[0]), QStringLiteral("^1Sarge"));
    EXPECT_EQ(ServerAnswer::rawNameOf(*answer.playerList[1]), QStringLiteral("Grunt"));
    server->setServerPing(QStringLiteral("Ping: --- ms"));
    EXPECT_EQ(ServerAnswer::of(*server, ServerAnswer::Source::Scan).ping, -1);
}

}  // namespace
