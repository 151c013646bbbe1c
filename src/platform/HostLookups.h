#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

// Host-name look-ups that the window does not wait for: each runs on a thread of its
// own, since a name server may take seconds to answer or not answer at all, and its
// result comes back on the thread that asked, through its event loop. Only the result
// of the latest look-up is wanted: a new one or a cancel drops the others' results.
// Used from one thread.
//
// Nothing waits for a look-up: the threads are detached, and one still blocked in the
// resolver when its owner goes ends on its own later, touching nothing of the owner's.
class HostLookups {
public:
    using Lookup = std::function<QString(const QString& host)>;
    using Done = std::function<void(const QString& result)>;

    HostLookups();
    ~HostLookups();
    HostLookups(const HostLookups&) = delete;
    HostLookups& operator=(const HostLookups&) = delete;

    // Runs lookup(host) on its own thread, then done(result) here.
    void lookUp(const QString& host, const Lookup& lookup, Done done);
    // Drops the result of the look-up under way.
    void cancel() { wanted = 0; }

private:
    // Where the threads queue their results, shared with them: the owner empties it
    // as it goes, under its lock, so a thread queues to a live owner or to nobody.
    struct Results {
        std::mutex lock;
        HostLookups* owner = nullptr;
    };

    // Queues the result to the owner, if it is still there.
    static void post(const std::shared_ptr<Results>& results, quint64 lookup, const QString& result, Done done);
    void deliver(quint64 lookup, const QString& result, const Done& done);

    std::shared_ptr<Results> results;
    quint64 started = 0;
    // The number of the look-up whose result is wanted; 0 for none.
    quint64 wanted = 0;
    // The queued results are events of this object: with it gone, they are dropped.
    QObject receiver;
};
