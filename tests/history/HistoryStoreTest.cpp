// The store around the history file: answers recorded from several threads while the
// UI thread asks, and what the user is told of a damaged file or a full disk.
#include "history/HistoryStore.h"
#include "model/CodServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

namespace {

ServerAnswer answerOf(const QString& address, qint64 time, const QString& player)
{
    ServerAnswer answer;
    answer.time = time;
    answer.address = address;
    answer.name = QStringLiteral("Server");
    answer.playerList = {std::make_shared<const CodPlayer>(CodPlayer::Fields{.name = player, .colouredName = player})};
    answer.players = 1;
    return answer;
}

class HistoryStoreTest : public testing::Test {
protected:
    QString path() const { return folder.filePath(QStringLiteral("history.sqlite")); }

    // Waits on the UI thread until every answer recorded before is written.
    static void waitUntilWritten(HistoryStore& store, QObject& receiver)
    {
        bool written = false;
        store.run([](HistoryDatabase&) {}, &receiver, [&written] { written = true; });
        QTRY_VERIFY_WITH_TIMEOUT(written, 120000);
    }

    static QList<Sighting> sightingsOf(HistoryStore& store, QObject& receiver, const QString& text)
    {
        std::optional<QList<Sighting>> found;
        store.lastSightings(text, 100000, &receiver, [&found](const QList<Sighting>& sightings) { found = sightings; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(found.has_value(), 120000); }();
        return found.value_or(QList<Sighting>());
    }

    QTemporaryDir folder;
    QObject receiver;
};

// Four threads record while the UI thread keeps asking; every answer is written and
// every question answered, and the UI thread never waits for a batch.
TEST_F(HistoryStoreTest, RecordsFromSeveralThreadsWhileTheWindowAsks)
{
    HistoryStore store(path());
    constexpr int threads = 4;
    constexpr int answersEach = 2000;
    std::vector<std::jthread> recorders;
    for (int thread = 0; thread < threads; ++thread) {
        recorders.emplace_back([&store, thread] {
            for (int index = 0; index < answersEach; ++index)
                store.record(answerOf(QStringLiteral("10.%1.%2.%3:28960").arg(thread).arg(index / 250).arg(index % 250),
                                      1'800'000'000 + index, QStringLiteral("Player-%1-%2").arg(thread).arg(index)));
        });
    }
    int answered = 0;
    for (int question = 0; question < 20; ++question)
        store.lastSightings(QStringLiteral("player"), 10, &receiver, [&answered](const QList<Sighting>& sightings) {
            EXPECT_LE(sightings.size(), 10);
            ++answered;
        });
    recorders.clear();
    waitUntilWritten(store, receiver);
    EXPECT_EQ(answered, 20);
    EXPECT_EQ(sightingsOf(store, receiver, QStringLiteral("player-")).size(), threads * answersEach);
    EXPECT_TRUE(store.isRecording());
}

// A recorded answer shares its players with the record; a refresh of the record
// before the answer is written installs other players and leaves the answer's alone.
TEST_F(HistoryStoreTest, WritesThePlayersOfTheAnswerThoughTheRecordWasRefreshedSince)
{
    HistoryStore store(path());
    std::promise<void> writing;
    std::promise<void> release;
    store.run(
        [&writing, held = release.get_future().share()](HistoryDatabase&) {
            writing.set_value();
            held.wait();
        },
        &receiver, [] {});
    writing.get_future().wait();
    const CodServerPtr server = CodServer::create();
    server->setServerIp(QStringLiteral("10.0.0.1:28960"));
    const QString status = QStringLiteral("\\sv_hostname\\Alpha\\gamename\\Call of Duty 2\n0 40 \"%1\"\n");
    server->statusAnswered(status.arg(QStringLiteral("^1Early")), 20.0);
    store.record(ServerAnswer::of(*server, ServerAnswer::Source::Scan));
    server->statusAnswered(status.arg(QStringLiteral("^2Late")), 20.0);
    release.set_value();

    waitUntilWritten(store, receiver);
    const QList<Sighting> early = sightingsOf(store, receiver, QStringLiteral("early"));
    ASSERT_EQ(early.size(), 1);
    EXPECT_EQ(early.first().rawName, QStringLiteral("^1Early"));
    EXPECT_TRUE(sightingsOf(store, receiver, QStringLiteral("late")).isEmpty());
}

TEST_F(HistoryStoreTest, AnswersNothingToAReceiverThatIsGone)
{
    HistoryStore store(path());
    bool called = false;
    {
        QObject gone;
        store.lastSightings(QStringLiteral("early"), 10, &gone, [&called](const QList<Sighting>&) { called = true; });
    }
    waitUntilWritten(store, receiver);
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

TEST_F(HistoryStoreTest, TellsOnceThatADamagedFileWasKept)
{
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(16384, '\x01'));
    }
    HistoryStore store(path());
    QSignalSpy troubled(&store, &HistoryStore::troubled);
    store.record(answerOf(QStringLiteral("10.0.0.1:28960"), 1'800'000'000, QStringLiteral("Sarge")));
    waitUntilWritten(store, receiver);
    ASSERT_EQ(troubled.size(), 1);
    EXPECT_TRUE(troubled.first().first().toString().contains(QStringLiteral("history.sqlite.damaged-")));
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("history.sqlite.damaged-*")}).size(), 1);
    EXPECT_EQ(sightingsOf(store, receiver, QStringLiteral("sarge")).size(), 1);
}

// Empties the index of stays by their last time seen behind the store's back, as a
// damaged file may: its pages stay sound, so only what reads or changes an entry that
// should be there finds the damage. A partial index that holds nothing is rebuilt in
// its place, and its definition then put back.
void emptyStaysIndex(const QString& path)
{
    const auto runOnFile = [&path](const QStringList& statements) {
        {
            QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
            file.setDatabaseName(path);
            EXPECT_TRUE(file.open());
            for (const QString& statement : statements)
                EXPECT_TRUE(QSqlQuery(file).exec(statement)) << statement.toStdString();
            file.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("damage"));
    };
    const auto defineIndex = [](const QString& definition) {
        return QStringList{QStringLiteral("PRAGMA writable_schema = ON"),
                           QStringLiteral("UPDATE sqlite_master SET sql = '%1' WHERE name = 'stays_by_last_seen'")
                               .arg(definition)};
    };
    runOnFile(defineIndex(QStringLiteral("CREATE INDEX stays_by_last_seen ON stays (last_seen) WHERE last_seen < 0")));
    runOnFile({QStringLiteral("REINDEX stays_by_last_seen")});
    runOnFile(defineIndex(QStringLiteral("CREATE INDEX stays_by_last_seen ON stays (last_seen)")));
}

// SQLite finds the damage only when a batch goes on a player's stay: the file is kept
// aside as at opening, said once, and the batch goes into the new file.
TEST_F(HistoryStoreTest, StartsANewFileWhenABatchMeetsDamageAndWritesTheBatchThere)
{
    HistoryStore store(path());
    QSignalSpy troubled(&store, &HistoryStore::troubled);
    store.record(answerOf(QStringLiteral("10.0.0.1:28960"), 1'800'000'000, QStringLiteral("Sarge")));
    waitUntilWritten(store, receiver);
    emptyStaysIndex(path());
    store.record(answerOf(QStringLiteral("10.0.0.1:28960"), 1'800'000'060, QStringLiteral("Sarge")));
    waitUntilWritten(store, receiver);
    QCoreApplication::processEvents();
    ASSERT_EQ(troubled.size(), 1);
    EXPECT_TRUE(troubled.first().first().toString().startsWith(QStringLiteral("The history of servers was damaged")));
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("history.sqlite.damaged-*")}).size(), 1);
    EXPECT_TRUE(store.isRecording());
    const QList<Sighting> sightings = sightingsOf(store, receiver, QStringLiteral("sarge"));
    ASSERT_EQ(sightings.size(), 1);
    EXPECT_EQ(sightings.first().lastSeen, 1'800'000'060);
}

// Once the disk is full the store stops recording and says so once; what it holds
// still answers the window's questions.
TEST_F(HistoryStoreTest, StopsRecordingOnAFullDiskAndTellsItOnce)
{
    HistoryStore store(path());
    QSignalSpy troubled(&store, &HistoryStore::troubled);
    store.record(answerOf(QStringLiteral("10.0.0.1:28960"), 1'800'000'000, QStringLiteral("Before")));
    store.run(
        [](HistoryDatabase& database) {
            QSqlQuery(database.connection())
                .exec(QStringLiteral("PRAGMA max_page_count = %1").arg(database.usedBytes() / 4096 + 2));
        },
        &receiver, [] {});
    for (int batch = 0; batch < 5; ++batch) {
        for (int index = 0; index < 3000; ++index)
            store.record(answerOf(QStringLiteral("10.2.%1.%2:28960").arg(index / 250).arg(index % 250),
                                  1'800'000'001 + batch, QStringLiteral("After %1").arg(index)));
        waitUntilWritten(store, receiver);
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(troubled.size(), 1);
    EXPECT_TRUE(troubled.first().first().toString().startsWith(QStringLiteral("The disk is full")));
    EXPECT_FALSE(store.isRecording());
    EXPECT_EQ(sightingsOf(store, receiver, QStringLiteral("before")).size(), 1);
}

TEST_F(HistoryStoreTest, TellsOnceThatAFileCannotBeOpened)
{
    QFile blocker(folder.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    HistoryStore store(blocker.fileName() + QStringLiteral("/history.sqlite"));
    QSignalSpy troubled(&store, &HistoryStore::troubled);
    store.record(answerOf(QStringLiteral("10.0.0.1:28960"), 1'800'000'000, QStringLiteral("Sarge")));
    waitUntilWritten(store, receiver);
    QCoreApplication::processEvents();
    ASSERT_EQ(troubled.size(), 1);
    EXPECT_TRUE(troubled.first().first().toString().startsWith(QStringLiteral("The history of servers cannot be opened")));
    EXPECT_FALSE(store.isRecording());
}

}  // namespace
