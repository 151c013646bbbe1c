#pragma once

#include "model/CodServer.h"
#include "net/MasterFetches.h"
#include "net/MasterOutcome.h"
#include "net/MasterSource.h"
#include "net/PendingQueries.h"
#include "net/ScanPacer.h"
#include "net/ServerAddress.h"

#include <QByteArrayView>
#include <QList>

#include <chrono>
#include <functional>
#include <optional>

// What a scan is given: the time-out of each query, the pace, and the masters it
// asks for their lists, all at once.
struct ScanSettings {
    std::chrono::microseconds timeout;
    int queriesPerSecond = 0;
    QList<MasterSource> masters;
};

// How far a scan got: servers listed (once each, those that can be game servers),
// queried at least once, and answered; the queries the system refused to send, each
// sent again at the next turn of the pace; and the datagrams cut to the size read
// (answers longer than a single exchange reads, cut as it cuts them).
struct ScanCounts {
    int listed = 0;
    int queried = 0;
    int answered = 0;
    int refused = 0;
    int cut = 0;

    bool operator==(const ScanCounts&) const = default;
};

// What a scan tells its owner, on the thread that runs it.
struct ScanReports {
    // A server answered: its record, filled as a status refresh fills it. Once per
    // server.
    std::function<void(const CodServerPtr&)> serverAnswered;
    // The counts changed: at most once every progressPeriod, and once more when the
    // master's list is complete.
    std::function<void(const ScanCounts&)> progressed;
    // The scan is over, with its last counts. masterListedNothing: no master sent any
    // server and the scan was not stopped before they could.
    std::function<void(const ScanCounts&, bool masterListedNothing)> ended;
    // A master's list is over (after it was asked again, when it was): the master's
    // index in ScanSettings::masters and its outcome. Once per master, none for the
    // masters of a scan stopped before their lists ended. May be left empty.
    std::function<void(qsizetype master, const MasterOutcome&)> masterEnded = {};
    // Given instead of serverAnswered by an owner that fills records of its own: the
    // server's answer as text and its round trip in milliseconds. Once per server.
    std::function<void(ServerAddress, const QString& answer, double roundTripMilliseconds)> statusArrived = {};
};

// One master scan, apart from its sockets: it takes the masters' lists as they arrive,
// merged, and queries every listed server once, at a steady pace as soon as it is listed, matches
// each answer to its query by the sender's address and port, and asks the servers
// that stayed silent once more when the first pass is over. The caller feeds it the
// datagrams and the time, and sends the queries it asks for, each by a route (the
// socket it leaves from) by which its answer comes back.
class PacedScan {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Sent {
        TimePoint at;
        int route;
    };
    // Sends the status query to the server by any route but the one to avoid; when and
    // by which route it went out, or nothing when the system refused it.
    using SendQuery = std::function<std::optional<Sent>(ServerAddress, std::optional<int> routeToAvoid)>;

    // Ten reports a second: at 20,000 answers a second each hands the finders some
    // 2,000 new servers, which a live player search goes over in a few milliseconds.
    static constexpr std::chrono::milliseconds progressPeriod{100};

    // The masters' requests went out at requestSent.
    PacedScan(const ScanSettings& settings, ScanReports reports, TimePoint requestSent);
    // A scan of the given servers, and of no master whatever the settings name.
    PacedScan(const QList<ServerAddress>& servers, const ScanSettings& settings, ScanReports reports, TimePoint start);

    // The request could not reach that master (its index in the settings' masters):
    // no list will come from it.
    void masterUnreachable(qsizetype master) { masters.unreachable(master); }
    // A datagram came to that master's socket; only the master's own count.
    void masterDatagram(qsizetype master, ServerAddress from, QByteArrayView datagram, TimePoint arrival);
    // Bytes of that master's stream came; its stream ended, whole or broken off.
    void masterStream(qsizetype master, QByteArrayView bytes, TimePoint arrival);
    void masterStreamEnded(qsizetype master, bool whole) { masters.streamEnded(master, whole); }
    // The masters to send the request again, taken off the list (see MasterFetches).
    QList<qsizetype> mastersToAskAgain() { return masters.takeToAskAgain(); }
    bool masterIsOver(qsizetype master) const { return masters.isOver(master); }
    // A datagram came by a query's route.
    void serverDatagram(ServerAddress from, int route, QByteArrayView datagram, TimePoint arrival);
    // That many datagrams were cut to the size read.
    void datagramsCut(int count) { cutDatagrams += count; }
    // Ends what timed out, sends the queries due and reports progress.
    void advance(TimePoint now, const SendQuery& sendQuery);
    // Asks nothing more: the scan is over once the queries under way answered or timed out.
    void stop();

    bool isOver() const;
    // Makes the last report; called once, when the scan is over or dropped.
    void finish();
    // When advance has work to do next; nothing while the scan only waits for datagrams.
    std::optional<TimePoint> nextWake() const;

    ScanCounts counts() const;

private:
    bool retriesAllowed() const { return masters.allOver() && !stopped; }
    void sendDueQueries(TimePoint now, const SendQuery& sendQuery);
    void reportProgress(TimePoint now);
    void keepAnswer(ServerAddress from, QByteArrayView datagram, std::chrono::nanoseconds roundTrip) const;
    void list(const QList<ServerAddress>& servers);

    const ScanReports reports;
    MasterFetches masters;
    PendingQueries queries;
    ScanPacer pacer;
    ScanCounts reported;
    TimePoint lastReport;
    int cutDatagrams = 0;
    bool completeListReported = false;
    bool stopped = false;
};
