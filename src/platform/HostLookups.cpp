#include "platform/HostLookups.h"

#include <algorithm>

// The threads are joined before the object their results are queued to goes.
HostLookups::~HostLookups()
{
    cancel();
    running.clear();
}

void HostLookups::lookUp(const QString& host, const Lookup& lookup, Done done)
{
    forgetFinished();
    const quint64 number = ++started;
    wanted = number;
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread([this, number, host, lookup, done = std::move(done), finished] {
        const QString result = lookup(host);
        QMetaObject::invokeMethod(
            &results, [this, number, result, done] { deliver(number, result, done); }, Qt::QueuedConnection);
        *finished = true;
    });
    running.push_back({std::move(finished), std::move(thread)});
}

void HostLookups::deliver(quint64 lookup, const QString& result, const Done& done)
{
    if (lookup != wanted)
        return;
    wanted = 0;
    done(result);
}

void HostLookups::forgetFinished()
{
    std::erase_if(running, [](const Running& lookup) { return lookup.finished->load(); });
}
