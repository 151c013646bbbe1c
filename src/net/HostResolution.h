#pragma once

#include <QString>

#include <functional>
#include <optional>

// Host names in favourites' addresses, looked up where their exchange runs, at each
// exchange. A name server may take seconds to answer or never answer: each look-up
// runs on a detached thread of its own, and the exchange waits for it unless an
// AbandonedLookups lives. An owner about to join a thread that may wait for a look-up
// holds one meanwhile, so that quitting never waits for a resolver; a look-up left
// behind ends on its own and touches only state that lives as long as the process.
namespace HostResolution {

using Resolver = std::function<QString(const QString& host)>;

// The dotted IPv4 address the system resolver gives the host name, or an empty text
// when it gives none. Takes as long as the resolver takes.
QString systemLookup(const QString& host);
// The dotted IPv4 address of the host name, looked up on a thread of its own; nothing
// when the name has none or the wait was abandoned.
std::optional<QString> dottedAddressOf(const QString& host);

// While one lives, every wait for a look-up, under way or asked for, gives up at once.
class [[nodiscard]] AbandonedLookups {
public:
    AbandonedLookups();
    ~AbandonedLookups();
    AbandonedLookups(const AbandonedLookups&) = delete;
    AbandonedLookups& operator=(const AbandonedLookups&) = delete;
};

// The look-up used from now on (the system resolver unless a test replaces it).
void setResolver(Resolver resolver);

}  // namespace HostResolution
