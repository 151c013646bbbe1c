#include "app/MasterScan.h"

#include "platform/HostResolution.h"
#include "platform/Preferences.h"
#include "prefs/ScanSpeed.h"

#include <algorithm>

#include <arpa/inet.h>

namespace {

std::optional<in_addr> dottedAddress(const QString& text)
{
    in_addr address{};
    if (::inet_pton(AF_INET, text.toLatin1().constData(), &address) != 1)
        return std::nullopt;
    return address;
}

HostLookups::Lookup& hostLookup()
{
    static HostLookups::Lookup lookup = MasterScan::getIpFromString;
    return lookup;
}

}  // namespace

MasterScan::MasterScan(const GameDescription& game, ScanEngine& engine, std::mutex& masterListsLock)
    : m_game(game)
    , engine(engine)
    , masterListsLock(masterListsLock)
{
}

MasterScan::~MasterScan()
{
    stopAndJoin();
}

void MasterScan::setHostLookup(HostLookups::Lookup lookup)
{
    hostLookup() = std::move(lookup);
}

QString MasterScan::labelName() const
{
    return QStringLiteral("scanProgress-") + m_game.id;
}

QList<CodServerPtr> MasterScan::servers() const
{
    std::lock_guard guard(masterListsLock);
    return QList<CodServerPtr>(list.cbegin(), list.cend());
}

// The engine reports its counts a few times a second while every answer is kept at
// once: the servers kept are the true number answered, and at least as many were
// queried, so that the counts shown never contradict the list beside them.
ScanCounts MasterScan::progress() const
{
    std::lock_guard guard(masterListsLock);
    ScanCounts current = counts;
    current.answered = std::max(current.answered, static_cast<int>(list.size()));
    current.queried = std::max(current.queried, current.answered);
    return current;
}

void MasterScan::setRefreshing(bool value)
{
    std::lock_guard guard(masterListsLock);
    refreshing = value;
}

QList<MasterOutcome> MasterScan::masterOutcomes() const
{
    std::lock_guard guard(masterListsLock);
    return outcomes;
}

void MasterScan::begin()
{
    engineScan.reset();
    stopRequested = false;
    std::lock_guard guard(masterListsLock);
    refreshing = true;
    list.clear();
    counts = {};
    outcomes.clear();
}

void MasterScan::start(const Reports& reports)
{
    mastersLookedUp = GameMasters::mastersToAsk(m_game, Preferences::standard());
    if (mastersLookedUp.isEmpty()) {
        endWithoutMaster(reports);
        return;
    }
    reportsAfterLookup = reports;
    masterLookups.clear();
    lookupsLeft = static_cast<int>(mastersLookedUp.size());
    for (qsizetype master = 0; master < mastersLookedUp.size(); ++master) {
        const QString& host = mastersLookedUp[master].host;
        if (dottedAddress(host)) {
            masterLookedUp(master, host);
            continue;
        }
        masterLookups.push_back(std::make_unique<HostLookups>());
        masterLookups.back()->lookUp(host, hostLookup(),
                                     [this, master](const QString& address) { masterLookedUp(master, address); });
    }
}

// A master whose host has no address keeps the address 0, and is told so.
void MasterScan::masterLookedUp(qsizetype master, const QString& address)
{
    MasterSource& source = mastersLookedUp[master].source;
    if (const std::optional<in_addr> dotted = dottedAddress(address))
        source.address.ip = ntohl(dotted->s_addr);
    else
        told({MasterOutcome::Kind::HostNotFound, 0, source.label});
    if (--lookupsLeft == 0)
        startWhenAllLookedUp();
}

void MasterScan::startWhenAllLookedUp()
{
    const Reports reports = *std::exchange(reportsAfterLookup, std::nullopt);
    QList<MasterSource> found;
    for (const MasterToAsk& master : std::as_const(mastersLookedUp)) {
        if (master.source.address.ip != 0) {
            found.append(master.source);
            found.last().listEnd = master.listEnd;
        }
    }
    if (found.isEmpty())
        endWithoutMaster(reports);
    else
        startOnEngine(found, reports);
}

void MasterScan::startOnEngine(const QList<MasterSource>& masters, const Reports& reports)
{
    engineScan = engine.start(settingsFor(m_game, masters), engineReports(reports));
}

ScanSettings MasterScan::settingsFor(const QList<MasterSource>& masters)
{
    const Preferences& store = Preferences::standard();
    return {
        .timeout = std::chrono::microseconds(store.integerForKey(QStringLiteral("Timeout"))),
        .queriesPerSecond =
            ScanSpeed::queriesPerSecond(store.integerForKey(QStringLiteral("Number of servers by thread"))),
        .masters = masters,
        .tries = store.integerForKey(QStringLiteral("Scan tries")),
    };
}

ScanSettings MasterScan::settingsFor(const GameDescription& game, const QList<MasterSource>& masters)
{
    ScanSettings settings = settingsFor(masters);
    settings.echoesChallenge = game.statusEchoesChallenge;
    return settings;
}

void MasterScan::endWithoutMaster(const Reports& reports)
{
    setRefreshing(false);
    reports.masterUnknown();
}

void MasterScan::requestStop()
{
    if (!engineScan && !reportsAfterLookup)
        return;
    stopRequested = true;
    if (engineScan)
        engine.stop(*engineScan);
    if (reportsAfterLookup) {
        masterLookups.clear();
        ended(progress(), false, *std::exchange(reportsAfterLookup, std::nullopt));
    }
}

void MasterScan::stopAndJoin()
{
    if (engineScan)
        engine.abandon(*engineScan);
    engineScan.reset();
    if (reportsAfterLookup) {
        masterLookups.clear();
        reportsAfterLookup.reset();
        setRefreshing(false);
    }
}

ScanReports MasterScan::engineReports(const Reports& reports)
{
    return {
        [this, reports](const CodServerPtr& server) {
            keep(server);
            if (reports.answered)
                reports.answered(*server);
        },
        [this, reports](const ScanCounts& scanCounts) { progressed(scanCounts, reports); },
        [this, reports](const ScanCounts& scanCounts, bool masterListedNothing) {
            ended(scanCounts, masterListedNothing, reports);
        },
        [this](qsizetype, const MasterOutcome& outcome) { told(outcome); },
    };
}

void MasterScan::told(const MasterOutcome& outcome)
{
    std::lock_guard guard(masterListsLock);
    outcomes.append(outcome);
}

void MasterScan::keep(const CodServerPtr& server)
{
    std::lock_guard guard(masterListsLock);
    list.push_back(server);
}

void MasterScan::progressed(const ScanCounts& scanCounts, const Reports& reports)
{
    {
        std::lock_guard guard(masterListsLock);
        counts = scanCounts;
    }
    reports.progressed(scanCounts);
}

void MasterScan::ended(const ScanCounts& scanCounts, bool masterListedNothing, const Reports& reports)
{
    std::unique_lock guard(masterListsLock);
    counts = scanCounts;
    refreshing = false;
    const int kept = static_cast<int>(list.size());
    guard.unlock();
    if (masterListedNothing)
        reports.listMissing();
    else
        reports.scanEnded(kept);
}

QString MasterScan::getIpFromString(const QString& host)
{
    if (host.isEmpty() || dottedAddress(host))
        return host;
    return HostResolution::systemLookup(host);
}
