#include "app/MasterScan.h"

#include "platform/HostResolution.h"
#include "net/QuakeProtocol.h"
#include "net/ScannedGames.h"
#include "platform/Preferences.h"
#include "platform/TextValue.h"
#include "prefs/ScanSpeed.h"

#include <algorithm>

#include <arpa/inet.h>

namespace {

const ScannedGame& gameOf(MasterScan::Game game)
{
    return ScannedGames::all().at(static_cast<qsizetype>(game));
}

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

MasterScan::MasterScan(Game game, ScanEngine& engine, std::mutex& masterListsLock)
    : game(game)
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
    static const QString names[] = {"numberOfCodServerToScan", "numberOfUOServerToScan", "numberOfCod2ServerToScan",
                                    "numberOfCod4ServerToScan"};
    return names[static_cast<int>(game)];
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

void MasterScan::start(const Reports& reports)
{
    const Preferences& store = Preferences::standard();
    const QString host = store.stringForKey(gameOf(game).hostKey);
    const std::optional<int> port = masterPort(store.stringForKey(gameOf(game).portKey));
    if (host.isEmpty() || !port) {
        endWithoutMaster(reports);
        return;
    }
    const auto masterPortNumber = static_cast<quint16>(*port);
    if (const std::optional<in_addr> dotted = dottedAddress(host)) {
        startOnEngine(ServerAddress{ntohl(dotted->s_addr), masterPortNumber}, reports);
        return;
    }
    reportsAfterLookup = reports;
    masterLookups.lookUp(host, hostLookup(),
                         [this, masterPortNumber](const QString& address) { masterLookedUp(address, masterPortNumber); });
}

void MasterScan::masterLookedUp(const QString& address, quint16 port)
{
    const Reports reports = *std::exchange(reportsAfterLookup, std::nullopt);
    if (const std::optional<in_addr> dotted = dottedAddress(address))
        startOnEngine(ServerAddress{ntohl(dotted->s_addr), port}, reports);
    else
        endWithoutMaster(reports);
}

void MasterScan::startOnEngine(ServerAddress master, const Reports& reports)
{
    engineScan = engine.start(settingsFor(gameOf(game), master), engineReports(reports));
}

ScanSettings MasterScan::settingsFor(const ScannedGame& game, ServerAddress master)
{
    const Preferences& store = Preferences::standard();
    const int protocol = TextValue::integerValue(store.stringForKey(QuakeProtocol::masterProtocolKey(game.requestType)));
    return {
        .timeout = std::chrono::microseconds(store.integerForKey(QStringLiteral("Timeout"))),
        .queriesPerSecond =
            ScanSpeed::queriesPerSecond(store.integerForKey(QStringLiteral("Number of servers by thread"))),
        .master = master,
        .masterRequest = QuakeProtocol::masterRequest(protocol),
        .tries = store.integerForKey(QStringLiteral("Scan tries")),
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

std::optional<int> MasterScan::masterPort(const QString& text)
{
    const int port = TextValue::integerValue(text);
    if (port < 2 || port > 65534)
        return std::nullopt;
    return port;
}

QString MasterScan::getIpFromString(const QString& host)
{
    if (host.isEmpty() || dottedAddress(host))
        return host;
    return HostResolution::systemLookup(host);
}
