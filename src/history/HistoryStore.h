#pragma once

#include "history/HistoryDatabase.h"
#include "history/HistoryRecords.h"
#include "history/ServerAnswer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

// The history of the servers Zorvel queried: every answered status query of a
// favourite, a scan, a finder or a watch, and the players each one listed, kept in an
// SQLite file (HistoryDatabase) that one thread of the store's own owns.
//
// Answers are recorded from any thread and written in batches: whatever came while the
// previous batch was written goes in the next one, in one transaction. Questions are
// asked from the UI thread and answered there later, to a receiver, while it lives;
// the UI thread never waits for the file. Destroying the store writes what waits and
// then joins its thread.
//
// A file that fails its check at start, or that SQLite finds damaged later, is kept
// under a dated name and a new one is started; a full disk or a file that cannot be written stops the recording for the
// rest of the run. Each is told once, through troubled().
class HistoryStore : public QObject {
    Q_OBJECT
public:
    // Opens (or creates) the file at the path on the store's thread.
    explicit HistoryStore(const QString& path, QObject* parent = nullptr);
    ~HistoryStore() override;

    // $XDG_DATA_HOME/Zorvel/history.sqlite.
    static QString defaultPath();

    // From any thread: the answer goes in the next batch, unless recording stopped.
    void record(ServerAnswer answer);
    // Whether answers are still written: false once the file failed.
    bool isRecording() const { return recording; }

    // Prunes now, then once a day, by the retention the function gives each time
    // (read on the UI thread).
    void pruneDaily(std::function<HistoryRetention()> retention);
    void prune(const HistoryRetention& retention);

    // Where and when a player whose colour-free name holds the text (any case) was
    // seen, the latest first, at most limit stays.
    void lastSightings(const QString& text, int limit, QObject* receiver,
                       std::function<void(const QList<Sighting>&)> answer);
    // Runs the job on the store's thread once every answer recorded before is written,
    // then `then` on the UI thread while the receiver lives.
    void run(std::function<void(HistoryDatabase&)> job, QObject* receiver, std::function<void()> then);

signals:
    // Something the user must be told about the history, once: the file was damaged,
    // the disk is full, the file cannot be opened or written.
    void troubled(const QString& message);

private:
    using Job = std::function<void(HistoryDatabase&)>;

    void post(Job job);
    // Asks the question on the store's thread and gives its answer on the UI thread.
    template <typename Answer>
    void ask(std::function<Answer(HistoryDatabase&)> question, QObject* receiver,
             std::function<void(const Answer&)> answer)
    {
        post([this, question, receiver = QPointer<QObject>(receiver), answer](HistoryDatabase& database) {
            deliver(receiver, [answer, result = question(database)] { answer(result); });
        });
    }
    // Calls the function on the UI thread while the receiver lives.
    void deliver(QObject* receiver, std::function<void()> function);
    void work(std::stop_token stopToken);
    bool takeWork(std::stop_token stopToken, std::vector<ServerAnswer>& answers, std::deque<Job>& jobs);
    // Tells how the file opened; false when nothing more can be recorded.
    bool opened(HistoryDatabase& database, HistoryDatabase::Opening opening);
    // A question or a pruning that met a damaged page: the file is kept aside as at
    // opening, and a new one started.
    void startAnewIfDamaged(HistoryDatabase& database);
    void write(HistoryDatabase& database, const std::vector<ServerAnswer>& answers);
    void tell(const QString& message);

    const QString path;
    std::atomic<bool> recording = true;
    std::mutex queueLock;
    std::condition_variable_any queueChanged;
    std::vector<ServerAnswer> pending;
    std::deque<Job> jobs;
    QTimer dailyPruning;
    // Last, so that it stops and joins before what it uses goes.
    std::jthread worker;
};
