// scan_bench: the CoD4 master scan of the application against zorvel-farm's servers,
// at the default pace and at the fastest, beside quakestat on the same list.
// Prints one line of figures per configuration, and for the fastest the history's:
// how long writing the scan's answers took after it ended, how late the UI thread was
// from the scan's start to that end, and the bytes the history takes per answer.
// Then the same on a farm with the internet's faults ("lossy" lines), at 10,000
// servers, with the default time-out and with the longest the preferences offer, each
// beside how late the farm itself sent its answers. Exits non-zero only when it could
// not measure.
//
//   scan_bench [N...]    the farm sizes to measure, 1000 3000 10000 30000 by default
//   scan_bench --lossy   the lossy lines alone
//
// Each scan runs in a child process of its own ("scan_bench --scan PORT SPEED
// TIMEOUT_US"), so
// that the resident memory it adds is not blurred by the previous scan's.
#include "ControllerScan.h"
#include "FarmProcess.h"
#include "FloodedMaster.h"
#include "Percentile.h"
#include "QstatRun.h"
#include "prefs/ScanSpeed.h"

#include <QApplication>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int defaultSizes[] = {1000, 3000, 10000, 30000};
// The stored speed settings measured: the default (2,000 queries a second) and the
// fastest (20,000).
constexpr int speeds[] = {250, 25};
constexpr double microsecondsPerSecond = 1e6;
constexpr int defaultTimeout = ControllerScan::defaultTimeoutMicroseconds;
// The lossy lines' time-outs: the default, where a server's rate limit holds its third
// try past the pace's tries, and the longest the preferences offer ("1 s"), where
// three tries take as long as the limit's wait.
constexpr int lossyTimeouts[] = {defaultTimeout, 999000};
// The tries of each server, the preferences' default, on both sides.
constexpr int tries = 3;
// Two queries at most to one server within this many seconds: the third try of a
// silent server waits that long after its first.
constexpr double rateWindowSeconds = 2.0;
constexpr int lossySize = 10000;
// 5% of queries and of answers lost, 30 ms of jitter, 5% of servers late, 10% limited
// to two queries in two seconds and 10% to a burst of ten then one a second.
// Late servers answer between one and two of the scan's time-outs.
QStringList lossyFaults(int timeoutMicroseconds)
{
    return {QStringLiteral("loss_in_pct=5"),  QStringLiteral("loss_out_pct=5"),
            QStringLiteral("jitter_ms=30"),   QStringLiteral("late_pct=5"),
            QStringLiteral("limited_pct=10"), QStringLiteral("burst_pct=10"),
            QStringLiteral("timeout_ms=%1").arg(timeoutMicroseconds / 1000)};
}
// quakestat's parts: so many servers each.
constexpr int qstatPartSizes[] = {1000, 250, 100, 50};

struct Farmed {
    int size;
    int timeoutMicroseconds;
    FarmProcess& process;
    const FarmListing& farm;
    // quakestat's fastest run; no time and no answers when it could not run.
    QstatRun::Result qstatBest;
};

int scanInThisProcess(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const std::optional<ControllerScan::Figures> figures =
        ControllerScan::run(arguments.value(2).toUShort(), arguments.value(3).toInt(), arguments.value(4).toInt());
    if (!figures)
        return 1;
    std::printf("%s", qPrintable(ControllerScan::format(*figures)));
    return 0;
}

std::optional<ControllerScan::Figures> scanInChild(quint16 masterPort, int speed, int timeoutMicroseconds)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--scan"), QString::number(masterPort), QString::number(speed),
                 QString::number(timeoutMicroseconds)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    return ControllerScan::parse(QString::fromLatin1(child.readAllStandardOutput()));
}

// quakestat over the farm's list, split over more and more processes: the quickest
// time, and the most servers a split kept (the fastest splits lose more on a faulty
// farm).
std::optional<QstatRun::Result> fastestQstat(const FarmListing& farm, double timeoutSeconds)
{
    std::optional<QstatRun::Result> best;
    const auto servers = static_cast<int>(farm.addresses().size());
    for (const int partSize : qstatPartSizes) {
        const int processes = (servers + partSize - 1) / partSize;
        const std::optional<QstatRun::Result> run = QstatRun::run(farm.addresses(), processes, timeoutSeconds, tries);
        if (!run)
            return std::nullopt;
        std::printf("qstat n=%d processes=%d wall_s=%.2f answers=%d\n", servers, processes, run->seconds, run->answers);
        std::fflush(stdout);
        if (!best)
            best = run;
        best->seconds = std::min(best->seconds, run->seconds);
        best->answers = std::max(best->answers, run->answers);
    }
    return best;
}

// The machine's floor: the list at the pace, then the last server's tries.
double floorSeconds(int size, int pace, double timeoutSeconds)
{
    return size / static_cast<double>(pace) + tries * timeoutSeconds;
}

// The floor of a client that keeps the servers' rate limit: the last server's third
// try waits until its first is two seconds old.
double limitFloorSeconds(int size, int pace, double timeoutSeconds)
{
    return size / static_cast<double>(pace) + std::max(tries * timeoutSeconds, rateWindowSeconds + timeoutSeconds);
}

// The error of each ping against the delay the farm gave its server, in milliseconds.
std::vector<double> pingErrors(const FarmListing& farm, const ControllerScan::Figures& scan)
{
    std::vector<double> errors;
    for (auto ping = scan.pings.cbegin(); ping != scan.pings.cend(); ++ping) {
        if (const std::optional<int> delay = farm.delayOf(ping.key()))
            errors.push_back(std::abs(ping.value() - *delay));
    }
    return errors;
}

// The error of each ping that the farm's lateness does not explain, in milliseconds:
// the engine's own, over the servers that sent one answer alone (their ping is that
// answer's).
std::vector<double> engineErrors(const FarmListing& farm, const ControllerScan::Figures& scan,
                                 const FarmProcess::Lateness& lateness)
{
    std::vector<double> errors;
    for (auto late = lateness.onceAnsweredMs.cbegin(); late != lateness.onceAnsweredMs.cend(); ++late) {
        const std::optional<int> delay = farm.delayOf(late.key());
        const auto ping = scan.pings.constFind(late.key());
        if (delay && ping != scan.pings.cend())
            errors.push_back(std::abs(ping.value() - *delay - late.value()));
    }
    return errors;
}

// One scan of the farm at that speed, and what it is measured against.
struct Measured {
    ControllerScan::Figures scan;
    int pace;
    double floor;
    // One error for each server kept that the farm lists.
    std::vector<double> errors;
    int kept;
};

std::optional<Measured> scanFarm(const Farmed& farmed, int speed)
{
    const std::optional<ControllerScan::Figures> scan =
        scanInChild(farmed.farm.masterPort(), speed, farmed.timeoutMicroseconds);
    if (!scan)
        return std::nullopt;
    const int pace = ScanSpeed::queriesPerSecond(speed);
    std::vector<double> errors = pingErrors(farmed.farm, *scan);
    const auto kept = static_cast<int>(errors.size());
    const double floor = floorSeconds(farmed.size, pace, farmed.timeoutMicroseconds / microsecondsPerSecond);
    return Measured{*scan, pace, floor, std::move(errors), kept};
}

bool measure(const Farmed& farmed, int speed)
{
    const FarmListing& farm = farmed.farm;
    const std::optional<Measured> measured = scanFarm(farmed, speed);
    if (!measured)
        return false;
    const auto& [scan, pace, floor, errors, kept] = *measured;
    const double qstatSeconds = farmed.qstatBest.seconds;
    std::printf("scan n=%d pace=%d wall_s=%.2f floor_s=%.2f floor_ratio=%.2f kept_pct=%.1f qstat_best_s=%.2f "
                "qstat_ratio=%.2f ui_p99_ms=%.1f ui_max_ms=%.1f peak_kib_per_server=%.1f ping_err_p50_ms=%.1f "
                "ping_err_p99_ms=%.1f\n",
                farmed.size, pace, scan.wallSeconds, floor, scan.wallSeconds / floor,
                100.0 * kept / farm.answeringCount(), qstatSeconds, scan.wallSeconds / qstatSeconds, scan.uiP99Ms,
                scan.uiMaxMs, scan.peakGrowthKib / farm.answeringCount(), Percentile::of(errors, 0.5),
                Percentile::of(errors, 0.99));
    std::printf("answers n=%d pace=%d farm=%d zorvel=%d qstat=%d\n", farmed.size, pace, farm.answeringCount(), kept,
                farmed.qstatBest.answers);
    // The history's writing is hardest at the fastest pace, where the answers come
    // quickest: 20,000 a second.
    if (speed == speeds[1])
        std::printf("history n=%d write_s=%.2f ui_p99_ms=%.1f ui_max_ms=%.1f db_bytes_per_server=%.0f\n", farmed.size,
                    scan.historyWriteSeconds, scan.historyUiP99Ms, scan.historyUiMaxMs,
                    scan.historyBytes / std::max(scan.historyAnswers, 1.0));
    std::fflush(stdout);
    return true;
}

// The scan at the fastest pace, with one listed server flooding it with its answer
// and a stranger flooding it from another port.
bool measureFlood(const FarmListing& farm, int size)
{
    FloodedMaster flooded(farm);
    const std::optional<ControllerScan::Figures> scan = scanInChild(flooded.masterPort(), speeds[1], defaultTimeout);
    if (!scan)
        return false;
    const auto kept = static_cast<double>(pingErrors(farm, *scan).size());
    std::printf("flood n=%d pace=%d flood_datagrams=%d wall_s=%.2f kept_pct=%.1f peak_kib_per_server=%.1f\n", size,
                ScanSpeed::queriesPerSecond(speeds[1]), flooded.datagramsSent(), scan->wallSeconds,
                100.0 * kept / farm.answeringCount(), scan->peakGrowthKib / farm.answeringCount());
    std::fflush(stdout);
    return true;
}

// The scan's figures beside how late the farm sent its answers while it ran, and the
// pings' error without that lateness: the engine's own.
bool measureLossy(const Farmed& farmed, int speed)
{
    const FarmListing& farm = farmed.farm;
    farmed.process.takeLateness();
    const std::optional<Measured> measured = scanFarm(farmed, speed);
    const std::optional<FarmProcess::Lateness> farmLateness = farmed.process.takeLateness();
    if (!measured || !farmLateness)
        return false;
    const auto& [scan, pace, floor, errors, kept] = *measured;
    const double limitFloor = limitFloorSeconds(farmed.size, pace, farmed.timeoutMicroseconds / microsecondsPerSecond);
    const std::vector<double> engineOwn = engineErrors(farm, scan, *farmLateness);
    std::printf("lossy n=%d pace=%d timeout_ms=%d loss_pct=5 jitter_ms=30 late_pct=5 limited_pct=10 wall_s=%.2f "
                "floor_s=%.2f floor_ratio=%.2f limit_floor_s=%.2f limit_floor_ratio=%.2f truth=%d kept=%d "
                "kept_pct=%.2f qstat_kept=%d qstat_kept_pct=%.2f qstat_best_s=%.2f ping_err_p50_ms=%.1f "
                "ping_err_p99_ms=%.1f farm_late_p50_ms=%.1f farm_late_p99_ms=%.1f engine_err_p50_ms=%.1f "
                "engine_err_p99_ms=%.1f\n",
                farmed.size, pace, farmed.timeoutMicroseconds / 1000, scan.wallSeconds, floor, scan.wallSeconds / floor,
                limitFloor, scan.wallSeconds / limitFloor, farm.answeringCount(), kept,
                100.0 * kept / farm.answeringCount(), farmed.qstatBest.answers,
                100.0 * farmed.qstatBest.answers / farm.answeringCount(), farmed.qstatBest.seconds,
                Percentile::of(errors, 0.5), Percentile::of(errors, 0.99), farmLateness->p50Ms, farmLateness->p99Ms,
                Percentile::of(engineOwn, 0.5), Percentile::of(engineOwn, 0.99));
    std::fflush(stdout);
    return true;
}

// Starts the farm, runs quakestat over it, then the measures of the scan.
bool measureFarm(const FarmProcess::Shape& shape, int timeoutMicroseconds,
                 const std::function<bool(const Farmed&)>& measureScans)
{
    FarmProcess farmProcess;
    const std::optional<FarmListing> farm = farmProcess.start(shape);
    if (!farm) {
        std::fprintf(stderr, "scan_bench: zorvel-farm did not start\n");
        return false;
    }
    const std::optional<QstatRun::Result> qstat = fastestQstat(*farm, timeoutMicroseconds / microsecondsPerSecond);
    const Farmed farmed{shape.servers, timeoutMicroseconds, farmProcess, *farm,
                        qstat.value_or(QstatRun::Result{0.0, 0})};
    const bool measured = measureScans(farmed) && qstat.has_value();
    if (!measured)
        std::fprintf(stderr, "scan_bench: could not measure everything at %d servers\n", shape.servers);
    return measured;
}

bool measureLossySize()
{
    bool measured = true;
    for (const int timeout : lossyTimeouts) {
        measured = measureFarm({.seed = 1,
                                .servers = lossySize,
                                .minimumDelayMs = 10,
                                .maximumDelayMs = 120,
                                .silentFraction = 0.1,
                                .faults = lossyFaults(timeout)},
                               timeout,
                               [](const Farmed& farmed) {
                                   bool measured = true;
                                   for (const int speed : speeds)
                                       measured = measureLossy(farmed, speed) && measured;
                                   return measured;
                               })
                   && measured;
    }
    return measured;
}

bool measureSize(int size)
{
    return measureFarm(
        {.seed = 1, .servers = size, .minimumDelayMs = 10, .maximumDelayMs = 120, .silentFraction = 0.1}, defaultTimeout,
        [size](const Farmed& farmed) {
            bool measured = true;
            for (const int speed : speeds)
                measured = measure(farmed, speed) && measured;
            if (size == defaultSizes[0])
                measured = measureFlood(farmed.farm, size) && measured;
            return measured;
        });
}

int benchmark(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--lossy") == 0)
        return measureLossySize() ? 0 : 1;
    QList<int> sizes(std::cbegin(defaultSizes), std::cend(defaultSizes));
    if (argc > 1) {
        sizes.clear();
        for (const QString& argument : QCoreApplication::arguments().mid(1))
            sizes.append(argument.toInt());
    }
    bool measured = true;
    for (const int size : sizes)
        measured = measureSize(size) && measured;
    measured = measureLossySize() && measured;
    return measured ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--scan") == 0)
        return scanInThisProcess(argc, argv);
    return benchmark(argc, argv);
}
