#pragma once

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <thread>

// Work that must not hold up the window (network exchanges), run one job after the
// other on a worker thread of its own. A job runs on the worker and returns what is
// then to be done on the thread that owns the queue (the UI thread), where it is
// handed over in the order the jobs ran; a job may also be due only after a delay.
// Jobs never touch widgets: their second part does.
class WorkerQueue : public QObject {
public:
    // What runs on the owner's thread once the job is done; may be empty.
    using Then = std::function<void()>;
    using Job = std::function<Then()>;
    using Clock = std::chrono::steady_clock;

    explicit WorkerQueue(QObject* parent = nullptr);
    // Lets the job under way end, drops those still waiting and their second parts,
    // then joins the worker.
    ~WorkerQueue() override;

    // Runs the job once those queued before it are done.
    void queue(Job job) { queueAfter(Clock::duration::zero(), std::move(job)); }
    // Runs the job no sooner than the delay from now, after the jobs due before it.
    void queueAfter(Clock::duration delay, Job job);
    // Nothing waits, runs, or has a second part not yet run (on the owner's thread).
    bool idle() const { return unfinished == 0; }

private:
    void run(std::stop_token stopToken);
    bool takeNext(std::stop_token stopToken, Job& next);

    std::mutex queueLock;
    std::condition_variable_any queueChanged;
    // By the time each is due; jobs due at the same time keep their order.
    std::multimap<Clock::time_point, Job> waiting;
    // Counted on the owner's thread only.
    int unfinished = 0;
    // Last, so that it stops and joins before the queue goes.
    std::jthread worker;
};
