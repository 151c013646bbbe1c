#include "net/MasterFetches.h"

#include <algorithm>

namespace {

bool everyEotEndsTheList(const MasterSource& source)
{
    return source.listEnd == MasterDescription::ListEnd::EndOfTransmission;
}

}  // namespace

MasterFetches::MasterFetches(const QList<MasterSource>& masters, std::chrono::microseconds timeout,
                             TimePoint requestSent, Ended ended)
    : timeout(timeout)
    , ended(std::move(ended))
{
    fetches.resize(static_cast<std::size_t>(masters.size()));
    for (qsizetype master = 0; master < masters.size(); ++master) {
        Fetch& fetch = fetches[index(master)];
        fetch.source = masters[master];
        fetch.fetch.emplace(timeout, requestSent, fetch.source.entryPrefix, everyEotEndsTheList(fetch.source));
    }
}

QList<ServerAddress> MasterFetches::datagram(qsizetype master, ServerAddress from, QByteArrayView bytes,
                                             TimePoint arrival)
{
    Fetch& fetch = fetches[index(master)];
    if (from != fetch.source.address)
        return {};
    return counted(master, fetch.fetch->take(bytes, arrival));
}

QList<ServerAddress> MasterFetches::streamBytes(qsizetype master, QByteArrayView bytes, TimePoint arrival)
{
    return counted(master, fetches[index(master)].fetch->takeStream(bytes, arrival));
}

void MasterFetches::streamEnded(qsizetype master, bool whole)
{
    MasterListFetch& fetch = *fetches[index(master)].fetch;
    if (fetch.answered())
        fetch.streamEnded(whole);
    else
        fetch.end();
    reportIfOver(master);
}

QList<ServerAddress> MasterFetches::counted(qsizetype master, const QList<ServerAddress>& servers)
{
    Fetch& fetch = fetches[index(master)];
    for (const ServerAddress& server : servers)
        fetch.listed.insert(server.key());
    reportIfOver(master);
    return servers;
}

void MasterFetches::unreachable(qsizetype master)
{
    fetches[index(master)].fetch->end();
    reportIfOver(master);
}

void MasterFetches::expire(TimePoint now)
{
    for (qsizetype master = 0; master < size(); ++master) {
        MasterListFetch& fetch = *fetches[index(master)].fetch;
        if (!fetch.isOver()) {
            fetch.expire(now);
            askAgainOrReport(master, now);
        }
    }
}

void MasterFetches::askAgainOrReport(qsizetype master, TimePoint now)
{
    Fetch& fetch = fetches[index(master)];
    if (fetch.fetch->missedItsEnd() && !fetch.askedAgain) {
        fetch.askedAgain = true;
        fetch.fetch.emplace(timeout, now, fetch.source.entryPrefix, everyEotEndsTheList(fetch.source));
        toAskAgain.append(master);
        return;
    }
    reportIfOver(master);
}

void MasterFetches::stop()
{
    toAskAgain.clear();
    for (Fetch& fetch : fetches) {
        fetch.fetch->end();
        fetch.reported = true;
    }
}

bool MasterFetches::allOver() const
{
    return std::all_of(fetches.cbegin(), fetches.cend(), [](const Fetch& fetch) { return fetch.fetch->isOver(); });
}

std::optional<MasterFetches::TimePoint> MasterFetches::deadline() const
{
    std::optional<TimePoint> earliest;
    for (const Fetch& fetch : fetches) {
        if (!fetch.fetch->isOver())
            earliest = earliest ? std::min(*earliest, fetch.fetch->deadline()) : fetch.fetch->deadline();
    }
    return earliest;
}

bool MasterFetches::listedAny() const
{
    return std::any_of(fetches.cbegin(), fetches.cend(), [](const Fetch& fetch) { return !fetch.listed.isEmpty(); });
}

void MasterFetches::reportIfOver(qsizetype master)
{
    Fetch& fetch = fetches[index(master)];
    if (fetch.reported || !fetch.fetch->isOver())
        return;
    fetch.reported = true;
    const auto listed = static_cast<int>(fetch.listed.size());
    const bool heard = fetch.fetch->answered() || fetch.askedAgain;
    const MasterOutcome::Kind kind = !heard        ? MasterOutcome::Kind::NoAnswer
        : fetch.fetch->mayBeIncomplete()           ? MasterOutcome::Kind::MayBeIncomplete
                                                   : MasterOutcome::Kind::Listed;
    if (ended)
        ended(master, {kind, listed, fetch.source.label});
}
