#pragma once

#include "net/MasterListFetch.h"
#include "net/MasterOutcome.h"
#include "net/MasterSource.h"
#include "net/ServerAddress.h"

#include <QByteArrayView>
#include <QList>
#include <QSet>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The masters one scan asks, all at once, and how far each one's list came. Each
// master has a socket of its own, so that one master asked with two protocols is two
// masters here. Pure logic: the caller hands over what arrives and the time, and
// sends the requests.
class MasterFetches {
public:
    using TimePoint = MasterListFetch::TimePoint;
    // A master's fetch is over: its index in the scan's list and its outcome.
    using Ended = std::function<void(qsizetype master, const MasterOutcome& outcome)>;

    MasterFetches(const QList<MasterSource>& masters, std::chrono::microseconds timeout, TimePoint requestSent,
                  Ended ended);

    qsizetype size() const { return static_cast<qsizetype>(fetches.size()); }
    const MasterSource& source(qsizetype master) const { return fetches[index(master)].source; }

    // A datagram came to the master's socket: the servers it lists, in order; only
    // the master's own datagrams count.
    QList<ServerAddress> datagram(qsizetype master, ServerAddress from, QByteArrayView bytes, TimePoint arrival);
    // Bytes of the master's stream came: the servers whose entries they complete.
    QList<ServerAddress> streamBytes(qsizetype master, QByteArrayView bytes, TimePoint arrival);
    // The master's stream ended: closed by the master (whole), or broken off. A
    // stream broken before anything came is a master that did not answer.
    void streamEnded(qsizetype master, bool whole);
    // The request could not reach the master: no list will come from it.
    void unreachable(qsizetype master);
    // Ends the fetches whose deadline passed. A master whose list missed its end is
    // asked again, once: its fetch starts over at `now`, and it is among those that
    // takeToAskAgain gives.
    void expire(TimePoint now);
    // The masters to send the request again, taken off the list.
    QList<qsizetype> takeToAskAgain() { return std::exchange(toAskAgain, {}); }
    // Ends every fetch at once: the scan stops. No outcome is reported for them.
    void stop();

    bool isOver(qsizetype master) const { return fetches[index(master)].fetch->isOver(); }
    bool allOver() const;
    // When the first fetch still under way ends unless more comes first.
    std::optional<TimePoint> deadline() const;
    // Whether any master listed a server, even one the scan will not query.
    bool listedAny() const;

private:
    struct Fetch {
        MasterSource source;
        std::optional<MasterListFetch> fetch;
        // The servers it listed, by address key, each counted once, also when it
        // was asked again.
        QSet<quint64> listed;
        bool askedAgain = false;
        bool reported = false;
    };

    static std::size_t index(qsizetype master) { return static_cast<std::size_t>(master); }
    QList<ServerAddress> counted(qsizetype master, const QList<ServerAddress>& servers);
    void askAgainOrReport(qsizetype master, TimePoint now);
    void reportIfOver(qsizetype master);

    const std::chrono::microseconds timeout;
    std::vector<Fetch> fetches;
    QList<qsizetype> toAskAgain;
    const Ended ended;
};
