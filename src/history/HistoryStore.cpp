#include "history/HistoryStore.h"

#include <QDateTime>
#include <QStandardPaths>

#include <chrono>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// How much lower than the other threads the writing thread runs (a nice value): the
// window and the scan's engine come first, and the batches take what they leave.
constexpr int writerNiceness = 5;

}  // namespace

HistoryStore::HistoryStore(const QString& path, QObject* parent)
    : QObject(parent)
    , path(path)
    , worker([this](std::stop_token stopToken) { work(stopToken); })
{
}

HistoryStore::~HistoryStore()
{
    worker.request_stop();
    worker.join();
}

QString HistoryStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Zorvel/history.sqlite");
}

void HistoryStore::record(ServerAnswer answer)
{
    if (!recording)
        return;
    {
        const std::lock_guard lock(queueLock);
        pending.push_back(std::move(answer));
    }
    queueChanged.notify_one();
}

void HistoryStore::post(Job job)
{
    {
        const std::lock_guard lock(queueLock);
        jobs.push_back(std::move(job));
    }
    queueChanged.notify_one();
}

void HistoryStore::deliver(QObject* receiver, std::function<void()> function)
{
    // The store outlives its thread, so the call reaches it; the receiver may be gone.
    QMetaObject::invokeMethod(
        this,
        [receiver = QPointer<QObject>(receiver), function = std::move(function)] {
            if (receiver)
                function();
        },
        Qt::QueuedConnection);
}

void HistoryStore::pruneDaily(std::function<HistoryRetention()> retention)
{
    using namespace std::chrono_literals;
    prune(retention());
    dailyPruning.setInterval(24h);
    connect(&dailyPruning, &QTimer::timeout, this, [this, retention] { prune(retention()); });
    dailyPruning.start();
}

void HistoryStore::prune(const HistoryRetention& retention)
{
    post([retention](HistoryDatabase& database) {
        database.prune(retention, QDateTime::currentSecsSinceEpoch());
    });
}

void HistoryStore::lastSightings(const QString& text, int limit, QObject* receiver,
                                 std::function<void(const QList<Sighting>&)> answer)
{
    ask<QList<Sighting>>([text, limit](HistoryDatabase& database) { return database.lastSightings(text, limit); },
                         receiver, std::move(answer));
}

void HistoryStore::run(std::function<void(HistoryDatabase&)> job, QObject* receiver, std::function<void()> then)
{
    post([this, job, receiver = QPointer<QObject>(receiver), then](HistoryDatabase& database) {
        job(database);
        deliver(receiver, then);
    });
}

void HistoryStore::work(std::stop_token stopToken)
{
    // On Linux a nice value belongs to the thread it is set on.
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), writerNiceness);
    HistoryDatabase database(path);
    opened(database, database.open());
    std::vector<ServerAnswer> answers;
    std::deque<Job> due;
    // Once asked to stop, it still writes and runs what waits.
    while (takeWork(stopToken, answers, due)) {
        if (!answers.empty() && recording)
            write(database, answers);
        for (const Job& job : due) {
            job(database);
            startAnewIfDamaged(database);
        }
        // A batch of a scan holds thousands of answers: their room goes back now,
        // rather than staying with the queue until the next scan.
        answers = {};
        due.clear();
    }
}

bool HistoryStore::takeWork(std::stop_token stopToken, std::vector<ServerAnswer>& answers, std::deque<Job>& due)
{
    std::unique_lock lock(queueLock);
    queueChanged.wait(lock, stopToken, [this] { return !pending.empty() || !jobs.empty(); });
    answers.swap(pending);
    due.swap(jobs);
    return !answers.empty() || !due.empty();
}

bool HistoryStore::opened(HistoryDatabase& database, HistoryDatabase::Opening opening)
{
    switch (opening) {
    case HistoryDatabase::Opening::Opened:
        return true;
    case HistoryDatabase::Opening::DamagedKept:
        tell(QStringLiteral("The history of servers was damaged. Zorvel kept it as %1 and started a new one.")
                 .arg(database.keptDamagedPath()));
        return true;
    case HistoryDatabase::Opening::Failed:
        recording = false;
        tell(QStringLiteral("The history of servers cannot be opened (%1). Zorvel records none in this run.")
                 .arg(database.lastError()));
        return false;
    }
    return false;
}

void HistoryStore::startAnewIfDamaged(HistoryDatabase& database)
{
    if (database.isDamaged())
        opened(database, database.startAnew());
}

void HistoryStore::write(HistoryDatabase& database, const std::vector<ServerAnswer>& answers)
{
    HistoryDatabase::Writing writing = database.write(answers);
    // A batch that met a damaged page goes into the new file.
    if (writing == HistoryDatabase::Writing::Failed && database.isDamaged()) {
        if (!opened(database, database.startAnew()))
            return;
        writing = database.write(answers);
    }
    switch (writing) {
    case HistoryDatabase::Writing::Written:
        return;
    case HistoryDatabase::Writing::DiskFull:
        recording = false;
        tell(QStringLiteral("The disk is full: Zorvel stopped recording the history of servers for this run."));
        return;
    case HistoryDatabase::Writing::Failed:
        recording = false;
        tell(QStringLiteral("The history of servers cannot be written (%1). Zorvel stopped recording it for this run.")
                 .arg(database.lastError()));
        return;
    }
}

void HistoryStore::tell(const QString& message)
{
    QMetaObject::invokeMethod(this, [this, message] { emit troubled(message); }, Qt::QueuedConnection);
}
