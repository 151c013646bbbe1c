#include "net/PacedScan.h"

#include "net/QuakeProtocol.h"

PacedScan::PacedScan(const ScanSettings& settings, ScanReports reports, TimePoint requestSent)
    : reports(std::move(reports))
    , masters(settings.masters, settings.timeout, requestSent, this->reports.masterEnded)
    , queries(settings.timeout)
    , pacer(settings.queriesPerSecond, requestSent)
    , lastReport(requestSent - progressPeriod)
{
}

PacedScan::PacedScan(const QList<ServerAddress>& servers, const ScanSettings& settings, ScanReports reports,
                     TimePoint start)
    : PacedScan(ScanSettings{.timeout = settings.timeout, .queriesPerSecond = settings.queriesPerSecond, .masters = {}},
                std::move(reports), start)
{
    list(servers);
}

void PacedScan::masterDatagram(qsizetype master, ServerAddress from, QByteArrayView datagram, TimePoint arrival)
{
    list(masters.datagram(master, from, datagram, arrival));
}

void PacedScan::masterStream(qsizetype master, QByteArrayView bytes, TimePoint arrival)
{
    list(masters.streamBytes(master, bytes, arrival));
}

// A server listed by several masters, or twice by one, is queried once.
void PacedScan::list(const QList<ServerAddress>& servers)
{
    for (const ServerAddress& server : servers)
        queries.list(server);
}

void PacedScan::serverDatagram(ServerAddress from, int route, QByteArrayView datagram, TimePoint arrival)
{
    // As in a single exchange, fewer bytes than an answer's header are no answer.
    if (datagram.size() < QuakeProtocol::answerHeaderLength)
        return;
    if (const std::optional<PendingQueries::Answered> answered = queries.answer(from, route, arrival))
        keepAnswer(from, datagram, answered->roundTrip);
}

void PacedScan::keepAnswer(ServerAddress from, QByteArrayView datagram, std::chrono::nanoseconds roundTrip) const
{
    const QString answer = QuakeProtocol::textOfDatagram(datagram.toByteArray());
    const double milliseconds = std::chrono::duration<double, std::milli>(roundTrip).count();
    if (reports.statusArrived) {
        reports.statusArrived(from, answer, milliseconds);
        return;
    }
    const CodServerPtr server = CodServer::create();
    server->setServerIp(from.text());
    server->statusAnswered(answer, milliseconds);
    reports.serverAnswered(server);
}

void PacedScan::advance(TimePoint now, const SendQuery& sendQuery)
{
    masters.expire(now);
    queries.expire(now);
    sendDueQueries(now, sendQuery);
    reportProgress(now);
}

void PacedScan::sendDueQueries(TimePoint now, const SendQuery& sendQuery)
{
    if (!queries.hasQueryToSend(retriesAllowed()))
        return;
    const int allowed = pacer.allowance(now);
    int attempts = 0;
    while (attempts < allowed) {
        const std::optional<PendingQueries::ToQuery> next = queries.nextToQuery(retriesAllowed());
        if (!next)
            break;
        ++attempts;
        const std::optional<Sent> sent = sendQuery(next->address, next->routeToAvoid);
        if (!sent) {
            // The system's queue is full: the server waits for the pace's next turn.
            queries.refused(next->address);
            break;
        }
        queries.sent(next->address, sent->at, sent->route);
    }
    pacer.spend(attempts);
}

// The counts are reported once the list is complete whatever the period, so that the
// number of servers to scan is known before the scan ends.
void PacedScan::reportProgress(TimePoint now)
{
    const ScanCounts current = counts();
    const bool listJustCompleted = masters.allOver() && !completeListReported;
    if (current == reported || (now < lastReport + progressPeriod && !listJustCompleted))
        return;
    completeListReported = masters.allOver();
    reported = current;
    lastReport = now;
    reports.progressed(current);
}

void PacedScan::stop()
{
    stopped = true;
    masters.stop();
    queries.stopAsking();
}

bool PacedScan::isOver() const
{
    return masters.allOver() && queries.isSettled(retriesAllowed());
}

void PacedScan::finish()
{
    reports.ended(counts(), !masters.listedAny() && !stopped);
}

std::optional<PacedScan::TimePoint> PacedScan::nextWake() const
{
    std::optional<TimePoint> wake = queries.nextTimeout();
    const auto consider = [&wake](TimePoint at) { wake = wake ? std::min(*wake, at) : at; };
    if (const std::optional<TimePoint> listsEnd = masters.deadline())
        consider(*listsEnd);
    if (queries.hasQueryToSend(retriesAllowed()))
        consider(pacer.nextQuery());
    if (counts() != reported)
        consider(masters.allOver() && !completeListReported ? lastReport : lastReport + progressPeriod);
    return wake;
}

ScanCounts PacedScan::counts() const
{
    return {queries.listed(), queries.queried(), queries.answered(), queries.refusals(), cutDatagrams};
}
