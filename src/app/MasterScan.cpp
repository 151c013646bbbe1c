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

MasterSource withIp(MasterSource master, in_addr_t networkOrderIp)
{
    master.address.ip = ntohl(networkOrderIp);
    return master;
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

void MasterScan::begin()
{
    engineScan.reset();
    stopRequested = false;
    std::lock_guard guard(masterListsLock);
    refreshing = true;
    list.clear();
    counts = {};
}

// The first master the game asks; its other masters wait for scans of several masters.
void MasterScan::start(const Reports& reports)
{
    const QList<MasterToAsk> masters = GameMasters::mastersToAsk(m_game, Preferences::standard());
    if (masters.isEmpty()) {
        endWithoutMaster(reports);
        return;
    }
    const MasterToAsk& master = masters.first();
    if (const std::optional<in_addr> dotted = dottedAddress(master.host)) {
        startOnEngine(withIp(master.source, dotted->s_addr), reports);
        return;
    }
    reportsAfterLookup = reports;
    masterLookups.lookUp(master.host, hostLookup(),
                         [this, source = master.source](const QString& address) { masterLookedUp(address, source); });
}

void MasterScan::masterLookedUp(const QString& address, MasterSource master)
{
    const Reports reports = *std::exchange(reportsAfterLookup, std::nullopt);
    if (const std::optional<in_addr> dotted = dottedAddress(address))
        startOnEngine(withIp(master, dotted->s_addr), reports);
    else
        endWithoutMaster(reports);
}

void MasterScan::startOnEngine(MasterSource master, const Reports& reports)
{
    engineScan = engine.start(settingsFor(master), engineReports(reports));
}

ScanSettings MasterScan::settingsFor(const MasterSource& master)
{
    const Preferences& store = Preferences::standard();
    return {
        .timeout = std::chrono::microseconds(store.integerForKey(QStringLiteral("Timeout"))),
        .queriesPerSecond =
            ScanSpeed::queriesPerSecond(store.integerForKey(QStringLiteral("Number of servers by thread"))),
        .master = master.address,
        .masterRequest = master.request,
    };
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
        masterLookups.cancel();
        ended(progress(), false, *std::exchange(reportsAfterLookup, std::nullopt));
    }
}

void MasterScan::stopAndJoin()
{
    if (engineScan)
        engine.abandon(*engineScan);
    engineScan.reset();
    if (reportsAfterLookup) {
        masterLookups.cancel();
        reportsAfterLookup.reset();
        setRefreshing(false);
    }
}

ScanReports MasterScan::engineReports(const Reports& reports)
{
    return {
        [this](const CodServerPtr& server) { keep(server); },
        [this, reports](const ScanCounts& scanCounts) { progressed(scanCounts, reports); },
        [this, reports](const ScanCounts& scanCounts, bool masterListedNothing) {
            ended(scanCounts, masterListedNothing, reports);
        },
    };
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
