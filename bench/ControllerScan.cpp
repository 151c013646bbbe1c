#include "ControllerScan.h"

#include "LatenessProbe.h"
#include "app/MainWindow.h"
#include "app/MasterScan.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

constexpr int timeoutMicroseconds = 500000;

}  // namespace

std::optional<ControllerScan::Figures> ControllerScan::run(quint16 masterPort, int batchSize)
{
    const QTemporaryDir settingsFolder;
    Preferences::installStandard(std::make_unique<Preferences>(settingsFolder.filePath(QStringLiteral("Zorvel.conf"))));
    configure(masterPort, batchSize);
    Zorvel controller;
    MainWindow window(controller);
    window.show();
    QApplication::processEvents();

    // The controller fetches the list and starts the threads in one call; a fetch of
    // the same list, just before, tells how much of the call the fetch took.
    const double fetch = fetchSeconds();
    const double kibBefore = residentKib();
    LatenessProbe probe;
    QElapsedTimer wall;
    wall.start();
    controller.scanCod4Servers();
    probe.start();
    while (controller.cod4RefreshState())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9 - fetch;
    probe.stop();
    controller.stopMasterScans();
    QApplication::processEvents();

    const int kept = static_cast<int>(controller.activeCod4Servers().size());
    if (kept == 0)
        return std::nullopt;
    return Figures{wallSeconds,       probe.percentile(0.5), probe.percentile(0.99), probe.largest(),
                   (residentKib() - kibBefore) / kept, kept};
}

void ControllerScan::configure(quint16 masterPort, int batchSize)
{
    Preferences& store = Preferences::standard();
    store.setObject(QStringLiteral("127.0.0.1"), QStringLiteral("CoD4 Master Server"));
    store.setObject(QString::number(masterPort), QStringLiteral("CoD4 Master Server Port"));
    store.setObject(timeoutMicroseconds, QStringLiteral("Timeout"));
    store.setObject(batchSize, QStringLiteral("Number of servers by thread"));
}

double ControllerScan::fetchSeconds()
{
    std::mutex lock;
    const MasterScan scan(MasterScan::Game::CoD4, lock);
    QElapsedTimer fetch;
    fetch.start();
    scan.fetchServerList();
    return static_cast<double>(fetch.nsecsElapsed()) / 1e9;
}

double ControllerScan::residentKib()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() < 2 ? 0.0 : pages[1].toDouble() * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1024.0;
}

QString ControllerScan::format(const Figures& figures)
{
    return QStringLiteral("wall_s=%1 ui_p50_ms=%2 ui_p99_ms=%3 ui_max_ms=%4 kib_per_server=%5 kept=%6")
        .arg(figures.wallSeconds, 0, 'f', 4)
        .arg(figures.uiP50Ms, 0, 'f', 3)
        .arg(figures.uiP99Ms, 0, 'f', 3)
        .arg(figures.uiMaxMs, 0, 'f', 3)
        .arg(figures.kibPerServer, 0, 'f', 3)
        .arg(figures.kept);
}

std::optional<ControllerScan::Figures> ControllerScan::parse(const QString& line)
{
    QMap<QString, double> values;
    for (const QString& word : line.trimmed().split(u' '))
        values.insert(word.section(u'=', 0, 0), word.section(u'=', 1).toDouble());
    if (!values.contains(QStringLiteral("kept")))
        return std::nullopt;
    return Figures{values[QStringLiteral("wall_s")],         values[QStringLiteral("ui_p50_ms")],
                   values[QStringLiteral("ui_p99_ms")],      values[QStringLiteral("ui_max_ms")],
                   values[QStringLiteral("kib_per_server")], static_cast<int>(values[QStringLiteral("kept")])};
}
