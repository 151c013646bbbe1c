// scan_bench: the CoD4 master scan of the application against zorvel-farm's 10,000
// servers, at 250 and at 25 servers by thread, beside quakestat on the same list.
// Prints one line of figures per configuration; exits non-zero only when it could
// not measure.
//
// Each scan runs in a child process of its own ("scan_bench --scan PORT BATCH"), so
// that the resident memory it adds is not blurred by the previous scan's.
#include "ControllerScan.h"
#include "FarmProcess.h"
#include "QstatRun.h"
#include "app/MasterScan.h"

#include <QApplication>
#include <QProcess>

#include <cstdio>

namespace {

constexpr FarmProcess::Shape farmShape{.seed = 1, .servers = 10000, .minimumDelayMs = 10, .maximumDelayMs = 120,
                                       .silentFraction = 0.1};
constexpr std::chrono::milliseconds scanTimeout{500};
constexpr int batchSizes[] = {250, 25};

int scanInThisProcess(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const std::optional<ControllerScan::Figures> figures =
        ControllerScan::run(arguments.value(2).toUShort(), arguments.value(3).toInt());
    if (!figures)
        return 1;
    std::printf("%s\n", qPrintable(ControllerScan::format(*figures)));
    return 0;
}

std::optional<ControllerScan::Figures> scanInChild(quint16 masterPort, int batchSize)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--scan"), QString::number(masterPort), QString::number(batchSize)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    return ControllerScan::parse(QString::fromLatin1(child.readAllStandardOutput()));
}

bool measure(const FarmListing& farm, int batchSize)
{
    const std::optional<ControllerScan::Figures> scan = scanInChild(farm.masterPort(), batchSize);
    const auto threads = static_cast<int>(MasterScan::batchesOf(farm.addresses(), batchSize).size());
    const std::optional<double> qstat =
        QstatRun::seconds(farm.addresses(), threads, std::chrono::duration<double>(scanTimeout).count());
    if (!scan || !qstat)
        return false;
    const double floor = std::chrono::duration<double>(farm.designFloor(batchSize, scanTimeout)).count();
    std::printf("scan n=%lld batch=%d wall_s=%.2f floor_ratio=%.2f qstat_ratio=%.2f ui_p50_ms=%.1f ui_p99_ms=%.1f "
                "ui_max_ms=%.1f kib_per_server=%.1f\n",
                static_cast<long long>(farm.addresses().size()), batchSize, scan->wallSeconds,
                scan->wallSeconds / floor, scan->wallSeconds / *qstat, scan->uiP50Ms, scan->uiP99Ms, scan->uiMaxMs,
                scan->kibPerServer);
    std::fflush(stdout);
    return true;
}

int benchmark(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    FarmProcess farmProcess;
    const std::optional<FarmListing> farm = farmProcess.start(farmShape);
    if (!farm) {
        std::fprintf(stderr, "scan_bench: zorvel-farm did not start\n");
        return 1;
    }
    bool measured = true;
    for (const int batchSize : batchSizes) {
        if (!measure(*farm, batchSize)) {
            std::fprintf(stderr, "scan_bench: could not measure at %d servers by thread\n", batchSize);
            measured = false;
        }
    }
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
