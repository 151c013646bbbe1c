#include "ControllerScan.h"

#include "LatenessProbe.h"
#include "app/MainWindow.h"
#include "app/MasterScan.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "finders/PlayerFinder.h"

#include "ui_PlayerFinder.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

constexpr int timeoutMicroseconds = 500000;
// A player of a server far down the farm's list: the search goes over every
// player of every server at each hand-over and finds a handful.
const QString searchedPlayer = QStringLiteral("Player7777-");

template <class Window>
Window* topLevel()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget))
            return window;
    }
    return nullptr;
}

// Opens both finders from the main window's menu; the player finder, or null.
PlayerFinder* openFinders(const MainWindow& window)
{
    for (const char* command : {"showFindServerWindow", "showFindPlayerOrClanPanel"}) {
        auto* action = window.findChild<QAction*>(QString::fromLatin1(command));
        if (!action)
            return nullptr;
        action->trigger();
    }
    return topLevel<PlayerFinder>();
}

// Starts the player search once the finder holds servers (a search over nothing ends
// at once); it then runs again at every hand-over until the scan ends. True once
// started.
bool startLiveSearch(PlayerFinder& finder)
{
    if (finder.controls().numberOfCod4Servers->text() == u"0 servers")
        return false;
    finder.controls().playerToFindBox->setEditText(searchedPlayer);
    finder.controls().startButton->click();
    return true;
}

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
    PlayerFinder* playerFinder = openFinders(window);
    if (!playerFinder)
        return std::nullopt;

    // The controller fetches the list and starts the threads in one call; a fetch of
    // the same list, just before, tells how much of the call the fetch took.
    const double fetch = fetchSeconds();
    const double kibBefore = residentKib();
    LatenessProbe probe;
    QElapsedTimer wall;
    wall.start();
    controller.scanCod4Servers();
    probe.start();
    bool searching = false;
    while (controller.cod4RefreshState()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        searching = searching || startLiveSearch(*playerFinder);
    }
    const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9 - fetch;
    probe.stop();
    controller.stopMasterScans();
    QApplication::processEvents();

    const int kept = static_cast<int>(controller.activeCod4Servers().size());
    if (kept == 0 || !searching)
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
