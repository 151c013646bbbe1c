#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// Host-name look-ups that the window does not wait for: each runs on a thread of its
// own, since a name server may take seconds to answer or not answer at all, and its
// result comes back on the thread that asked, through its event loop. Only the result
// of the latest look-up is wanted: a new one or a cancel drops the others' results.
// Used from one thread; the threads still running are joined when it goes.
class HostLookups {
public:
    using Lookup = std::function<QString(const QString& host)>;
    using Done = std::function<void(const QString& result)>;

    HostLookups() = default;
    ~HostLookups();
    HostLookups(const HostLookups&) = delete;
    HostLookups& operator=(const HostLookups&) = delete;

    // Runs lookup(host) on its own thread, then done(result) here.
    void lookUp(const QString& host, const Lookup& lookup, Done done);
    // Drops the result of the look-up under way.
    void cancel() { wanted = 0; }

private:
    struct Running {
        std::shared_ptr<std::atomic<bool>> finished;
        std::jthread thread;
    };

    void deliver(quint64 lookup, const QString& result, const Done& done);
    // Joins the threads whose look-up ended, which takes no time.
    void forgetFinished();

    std::vector<Running> running;
    quint64 started = 0;
    // The number of the look-up whose result is wanted; 0 for none.
    quint64 wanted = 0;
    // Results are queued to this object: with it gone, they are dropped.
    QObject results;
};
