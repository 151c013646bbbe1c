#include "platform/WorkerQueue.h"

#include "platform/HostResolution.h"

WorkerQueue::WorkerQueue(QObject* parent)
    : QObject(parent)
    , worker([this](std::stop_token stopToken) { run(stopToken); })
{
}

WorkerQueue::~WorkerQueue()
{
    worker.request_stop();
    // A job waiting for a name server would hold the quit back.
    const HostResolution::AbandonedLookups withoutWaiting;
    worker.join();
}

void WorkerQueue::queueAfter(Clock::duration delay, Job job)
{
    ++unfinished;
    {
        std::lock_guard guard(queueLock);
        waiting.emplace(Clock::now() + delay, std::move(job));
    }
    queueChanged.notify_one();
}

// Waits for the earliest job to be due; false once the queue stops.
bool WorkerQueue::takeNext(std::stop_token stopToken, Job& next)
{
    std::unique_lock guard(queueLock);
    while (!stopToken.stop_requested()) {
        if (waiting.empty()) {
            queueChanged.wait(guard, stopToken, [this] { return !waiting.empty(); });
            continue;
        }
        const auto earliest = waiting.begin();
        if (earliest->first <= Clock::now()) {
            next = std::move(earliest->second);
            waiting.erase(earliest);
            return true;
        }
        // A job queued meanwhile may be due sooner.
        const std::size_t queued = waiting.size();
        queueChanged.wait_until(guard, stopToken, earliest->first, [this, queued] { return waiting.size() != queued; });
    }
    return false;
}

void WorkerQueue::run(std::stop_token stopToken)
{
    for (Job next; takeNext(stopToken, next);) {
        Then then = next();
        QMetaObject::invokeMethod(
            this,
            [this, then = std::move(then)] {
                --unfinished;
                if (then)
                    then();
            },
            Qt::QueuedConnection);
    }
}
