#include "platform/HostLookups.h"

#include <thread>

HostLookups::HostLookups()
    : results(std::make_shared<Results>())
{
    results->owner = this;
}

// A thread that ends later finds no owner and queues nothing; what it queued before
// goes with the receiver's pending events.
HostLookups::~HostLookups()
{
    std::lock_guard guard(results->lock);
    results->owner = nullptr;
}

void HostLookups::lookUp(const QString& host, const Lookup& lookup, Done done)
{
    const quint64 number = ++started;
    wanted = number;
    std::thread([results = results, number, host, lookup, done = std::move(done)]() mutable {
        post(results, number, lookup(host), std::move(done));
    }).detach();
}

void HostLookups::post(const std::shared_ptr<Results>& results, quint64 lookup, const QString& result, Done done)
{
    std::lock_guard guard(results->lock);
    HostLookups* owner = results->owner;
    if (!owner)
        return;
    QMetaObject::invokeMethod(
        &owner->receiver,
        [owner, lookup, result, done = std::move(done)] { owner->deliver(lookup, result, done); },
        Qt::QueuedConnection);
}

void HostLookups::deliver(quint64 lookup, const QString& result, const Done& done)
{
    if (lookup != wanted)
        return;
    wanted = 0;
    done(result);
}
