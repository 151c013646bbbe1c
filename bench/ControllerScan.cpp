#include "ControllerScan.h"

#include "LatenessProbe.h"
#include "ResidentMemory.h"
#include "app/MainWindow.h"
#include "app/MasterScan.h"
#include "app/Zorvel.h"
#include "finders/PlayerFinder.h"
#include "finders/ServerFilter.h"
#include "platform/Preferences.h"

#include "ui_PlayerFinder.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

constexpr int settleMs = 300;
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
    if (finder.findChild<QLabel*>("serverCount-cod4")->text() == u"0 servers")
        return false;
    finder.controls().playerToFindBox->setEditText(searchedPlayer);
    finder.controls().startButton->click();
    return true;
}

// Runs the UI thread's events for a while, so that the windows just opened are laid
// out and painted before the scan: their first paint is no cost of the scan.
void settle()
{
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < settleMs)
        QApplication::processEvents(QEventLoop::AllEvents, settleMs);
}

struct HistoryFigures {
    double writeSeconds = 0;
    double bytes = 0;
    double answers = 0;
};

// Waits, running the UI thread's events, until the history wrote what it recorded.
HistoryFigures waitForHistory(HistoryStore& history, QObject& receiver)
{
    QElapsedTimer writing;
    writing.start();
    HistoryFigures figures;
    bool written = false;
    history.run(
        [&figures](HistoryDatabase& database) {
            figures.bytes = double(database.usedBytes());
            QSqlQuery count(database.connection());
            if (count.exec(QStringLiteral("SELECT count(*) FROM answers")) && count.next())
                figures.answers = count.value(0).toDouble();
        },
        &receiver, [&written] { written = true; });
    while (!written)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    figures.writeSeconds = static_cast<double>(writing.nsecsElapsed()) / 1e9;
    return figures;
}

QHash<QString, int> pingsOf(const QList<CodServerPtr>& servers)
{
    QHash<QString, int> pings;
    for (const CodServerPtr& server : servers)
        pings.insert(server->serverIp(), ServerFilter::pingOf(server->serverPing()));
    return pings;
}

}  // namespace

std::optional<ControllerScan::Figures> ControllerScan::run(quint16 masterPort, int serversByThread,
                                                          int timeoutMicroseconds)
{
    const QTemporaryDir settingsFolder;
    qputenv("XDG_DATA_HOME", settingsFolder.path().toLocal8Bit());
    Preferences::installStandard(std::make_unique<Preferences>(settingsFolder.filePath(QStringLiteral("Zorvel.conf"))));
    configure(masterPort, serversByThread, timeoutMicroseconds);
    Zorvel controller;
    MainWindow window(controller);
    window.show();
    QApplication::processEvents();
    PlayerFinder* playerFinder = openFinders(window);
    if (!playerFinder)
        return std::nullopt;
    settle();

    const ResidentMemory memory;
    // The finders' rebuild once the scan ended is their own work, not the scan's.
    LatenessProbe probe;
    probe.start([&controller] { return controller.masterIsRefreshing(3); });
    LatenessProbe throughout;
    throughout.start();
    QElapsedTimer wall;
    wall.start();
    controller.scanServers(3);
    bool searching = false;
    while (controller.masterIsRefreshing(3)) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        searching = searching || startLiveSearch(*playerFinder);
    }
    const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    probe.stop();
    const double peakGrowthKib = memory.peakGrowthKib();
    const HistoryFigures history = waitForHistory(controller.history(), controller);
    throughout.stop();
    controller.stopMasterScans();
    QApplication::processEvents();

    const QList<CodServerPtr> kept = controller.masterServers(3);
    if (kept.isEmpty() || !searching)
        return std::nullopt;
    return Figures{wallSeconds,          probe.percentile(0.99),      probe.largest(), peakGrowthKib,
                   history.writeSeconds, throughout.percentile(0.99), throughout.largest(), history.bytes,
                   history.answers,      pingsOf(kept)};
}

void ControllerScan::configure(quint16 masterPort, int serversByThread, int timeoutMicroseconds)
{
    Preferences& store = Preferences::standard();
    store.setObject(QStringLiteral("127.0.0.1"), QStringLiteral("CoD4 Master Server"));
    store.setObject(QString::number(masterPort), QStringLiteral("CoD4 Master Server Port"));
    // The farm's master alone: the game's other masters are on the internet.
    store.setObject(QStringLiteral("[]"), QStringLiteral("Masters cod4"));
    store.setObject(timeoutMicroseconds, QStringLiteral("Timeout"));
    store.setObject(serversByThread, QStringLiteral("Number of servers by thread"));
}

QString ControllerScan::format(const Figures& figures)
{
    QString text;
    for (auto ping = figures.pings.cbegin(); ping != figures.pings.cend(); ++ping)
        text += QStringLiteral("ping %1 %2\n").arg(ping.key()).arg(ping.value());
    return text
           + QStringLiteral("figures wall_s=%1 ui_p99_ms=%2 ui_max_ms=%3 peak_growth_kib=%4 history_write_s=%5 "
                            "history_ui_p99_ms=%6 history_ui_max_ms=%7 history_bytes=%8 history_answers=%9\n")
                 .arg(figures.wallSeconds, 0, 'f', 4)
                 .arg(figures.uiP99Ms, 0, 'f', 3)
                 .arg(figures.uiMaxMs, 0, 'f', 3)
                 .arg(figures.peakGrowthKib, 0, 'f', 1)
                 .arg(figures.historyWriteSeconds, 0, 'f', 4)
                 .arg(figures.historyUiP99Ms, 0, 'f', 3)
                 .arg(figures.historyUiMaxMs, 0, 'f', 3)
                 .arg(figures.historyBytes, 0, 'f', 0)
                 .arg(figures.historyAnswers, 0, 'f', 0);
}

std::optional<ControllerScan::Figures> ControllerScan::parse(const QString& text)
{
    QHash<QString, int> pings;
    QMap<QString, double> values;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList words = line.split(u' ');
        if (words.first() == u"ping" && words.size() == 3)
            pings.insert(words[1], words[2].toInt());
        if (words.first() != u"figures")
            continue;
        for (const QString& word : words.mid(1))
            values.insert(word.section(u'=', 0, 0), word.section(u'=', 1).toDouble());
    }
    if (!values.contains(QStringLiteral("wall_s")))
        return std::nullopt;
    return Figures{values[QStringLiteral("wall_s")],          values[QStringLiteral("ui_p99_ms")],
                   values[QStringLiteral("ui_max_ms")],       values[QStringLiteral("peak_growth_kib")],
                   values[QStringLiteral("history_write_s")], values[QStringLiteral("history_ui_p99_ms")],
                   values[QStringLiteral("history_ui_max_ms")], values[QStringLiteral("history_bytes")],
                   values[QStringLiteral("history_answers")], pings};
}
