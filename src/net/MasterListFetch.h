#pragma once

#include "net/MasterListDecoder.h"
#include "net/MasterStreamReader.h"
#include "net/ServerAddress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <chrono>

// The rules of one master's answer to "getservers" as it arrives, as datagrams or as
// one TCP stream. The list ends at its end marker ("\EOT" followed by zero bytes, or
// "\EOF"), at the end of the stream, when the master stays silent for one time-out,
// sends a datagram that is not a list answer, or has sent maximumDatagrams of them
// (or the stream reader's bound); a master that keeps sending is cut off twenty
// time-outs after the request. Pure logic: the caller hands over what arrives and
// the time.
class MasterListFetch {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // The most datagrams one fetch reads. A real list never comes near this: even at
    // twenty servers a datagram (masters fit well over a hundred) it would list some
    // forty thousand servers, several times any master's list.
    static constexpr int maximumDatagrams = 2048;
    // The cut-off for a master that keeps sending, in time-outs after the request.
    static constexpr int longestFetchInTimeouts = 20;

    // The entry prefix: the bytes between each entry's backslash and its address.
    // everyEotEndsTheList: a "\EOT" alone ends the list too (masters that do not
    // close each datagram with it).
    MasterListFetch(std::chrono::microseconds timeout, TimePoint requestSent, const QByteArray& entryPrefix = {},
                    bool everyEotEndsTheList = false);

    // A datagram from the master: the servers it lists, in order, or none once the
    // fetch is over. A datagram that is not a list answer ends the fetch.
    QList<ServerAddress> take(QByteArrayView datagram, TimePoint arrival);
    // Bytes of the master's stream: the servers whose entries they complete.
    QList<ServerAddress> takeStream(QByteArrayView bytes, TimePoint arrival);
    // The master's stream ended: closed by the master (whole), or broken off.
    void streamEnded(bool whole)
    {
        cut = cut || (!over && !whole);
        over = true;
    }
    // Ends the fetch when its deadline passed.
    void expire(TimePoint now);
    // Ends it at once: the master cannot be asked, or the scan stops.
    void end() { over = true; }

    bool isOver() const { return over; }
    // When the fetch ends unless more comes first.
    TimePoint deadline() const;
    // Whether any datagram listed a server, even one the scan will not query.
    bool listedAny() const { return serversListed > 0; }
    // Whether anything came from the master.
    bool answered() const { return heard; }
    // The master marks the end of each datagram, but the list ended on silence
    // without its end marker: its last datagrams went missing.
    bool missedItsEnd() const { return over && endedOnSilence && marksDatagrams && !sawListEnd; }
    // The list may lack servers: its end went missing, or it was cut off.
    bool mayBeIncomplete() const { return missedItsEnd() || cut; }

private:
    void heardAt(TimePoint arrival);

    const std::chrono::microseconds timeout;
    const TimePoint cutOff;
    TimePoint lastHeard;
    MasterStreamReader stream;
    const QByteArray entryPrefix;
    const bool everyEotEndsTheList;
    int datagrams = 0;
    qsizetype serversListed = 0;
    bool heard = false;
    bool marksDatagrams = false;
    bool sawListEnd = false;
    bool endedOnSilence = false;
    bool cut = false;
    bool over = false;
};
