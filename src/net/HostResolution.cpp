#include "net/HostResolution.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace {

struct Waits {
    std::mutex lock;
    std::condition_variable changed;
    // The AbandonedLookups alive: while there is one, no wait lasts.
    int abandoning = 0;
    HostResolution::Resolver resolver = HostResolution::systemLookup;
};

// Never destroyed: a look-up thread left behind may still report to it while the
// process ends.
Waits& waits()
{
    static Waits* const shared = new Waits;
    return *shared;
}

struct Lookup {
    bool done = false;
    QString address;
};

}  // namespace

namespace HostResolution {

QString systemLookup(const QString& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found) != 0)
        return {};
    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr, dotted, sizeof dotted);
    ::freeaddrinfo(found);
    return QString::fromLatin1(dotted);
}

std::optional<QString> dottedAddressOf(const QString& host)
{
    Waits& shared = waits();
    const auto lookup = std::make_shared<Lookup>();
    std::unique_lock guard(shared.lock);
    if (shared.abandoning > 0)
        return std::nullopt;
    std::thread([lookup, host, resolver = shared.resolver, &shared] {
        const QString address = resolver(host);
        const std::lock_guard reported(shared.lock);
        lookup->done = true;
        lookup->address = address;
        shared.changed.notify_all();
    }).detach();
    shared.changed.wait(guard, [&] { return lookup->done || shared.abandoning > 0; });
    if (!lookup->done || lookup->address.isEmpty())
        return std::nullopt;
    return lookup->address;
}

AbandonedLookups::AbandonedLookups()
{
    Waits& shared = waits();
    const std::lock_guard guard(shared.lock);
    ++shared.abandoning;
    shared.changed.notify_all();
}

AbandonedLookups::~AbandonedLookups()
{
    Waits& shared = waits();
    const std::lock_guard guard(shared.lock);
    --shared.abandoning;
}

void setResolver(Resolver resolver)
{
    Waits& shared = waits();
    const std::lock_guard guard(shared.lock);
    shared.resolver = std::move(resolver);
}

}  // namespace HostResolution
