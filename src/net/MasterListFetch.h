#pragma once

#include "net/ServerAddress.h"

#include <QByteArrayView>
#include <QList>

#include <chrono>

// The rules of a master's answer to "getservers" as it arrives: the list datagrams
// are read in the order they come, until the master stays silent for one time-out,
// sends a datagram that is not a list answer, or has sent maximumDatagrams of them;
// a master that keeps sending is cut off twenty time-outs after the request. Pure
// logic: the caller hands over the datagrams and the time.
class MasterListFetch {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // The most datagrams one fetch reads. A real list never comes near this: even at
    // twenty servers a datagram (masters fit well over a hundred) it would list some
    // forty thousand servers, several times any master's list.
    static constexpr int maximumDatagrams = 2048;
    // The cut-off for a master that keeps sending, in time-outs after the request.
    static constexpr int longestFetchInTimeouts = 20;

    MasterListFetch(std::chrono::microseconds timeout, TimePoint requestSent);

    // A datagram from the master: the servers it lists, in order, or none once the
    // fetch is over. A datagram that is not a list answer ends the fetch.
    QList<ServerAddress> take(QByteArrayView datagram, TimePoint arrival);
    // Ends the fetch when its deadline passed.
    void expire(TimePoint now);
    // Ends it at once: the master cannot be asked, or the scan stops.
    void end() { over = true; }

    bool isOver() const { return over; }
    // When the fetch ends unless another datagram comes first.
    TimePoint deadline() const;
    // Whether any datagram listed a server, even one the scan will not query.
    bool listedAny() const { return serversListed > 0; }

private:
    const std::chrono::microseconds timeout;
    const TimePoint cutOff;
    TimePoint lastDatagram;
    int datagrams = 0;
    qsizetype serversListed = 0;
    bool over = false;
};
