// finder_bench: the server finder of a shown main window, offscreen, holding tens of
// thousands of found servers: how long a keystroke in the name filter and a click on
// a column title take until the list and its count are redrawn. Prints one line per
// size; exits non-zero only when it could not measure.
//
//   finder_bench [N...]    the numbers of found servers, 30000 100000 by default
#include "Cod4ServerLook.h"
#include "Percentile.h"
#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "finders/ServerFinder.h"
#include "net/QuakeProtocol.h"
#include "peers/GameServerFarm.h"
#include "platform/Preferences.h"

#include "ui_ServerFinder.h"

#include <QRadioButton>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr int defaultSizes[] = {30000, 100000};
// Typed into the name filter letter by letter, then erased, this many times.
const QString typed = QStringLiteral("ridge #1");
constexpr int typings = 3;
// The column titles clicked: a text column, a number column, then the text again.
const QStringList sortedTitles = {QStringLiteral("Name"), QStringLiteral("Players"), QStringLiteral("Name")};

QList<CodServerPtr> foundServers(int count)
{
    std::vector<GameServerFarm::Server> servers =
        GameServerFarm::generate(count, {.seed = 1, .minimumDelay = std::chrono::milliseconds(10),
                                         .maximumDelay = std::chrono::milliseconds(120), .maximumPlayers = 24});
    Cod4ServerLook::dress(servers, 1);
    QList<CodServerPtr> found;
    for (int i = 0; i < count; ++i) {
        const GameServerFarm::Server& server = servers[std::size_t(i)];
        const CodServerPtr record = CodServer::create();
        record->setServerIp(QStringLiteral("127.%1.%2.%3:28960").arg(1 + i / 65536).arg(i / 256 % 256).arg(i % 256));
        record->statusAnswered(QuakeProtocol::textOfDatagram(GameServerFarm::answerOf(server)),
                               double(server.answerDelay.count()));
        found.append(record);
    }
    return found;
}

ServerFinder* openServerFinder(const MainWindow& window)
{
    auto* action = window.findChild<QAction*>(QStringLiteral("showFindServerWindow"));
    if (!action)
        return nullptr;
    action->trigger();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* finder = qobject_cast<ServerFinder*>(widget))
            return finder;
    }
    return nullptr;
}

// Milliseconds from the input until the window processed what it caused, its
// repaint included.
template <class Input>
double millisecondsOf(Input input)
{
    QElapsedTimer clock;
    clock.start();
    input();
    QApplication::processEvents();
    QApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

void clickTitle(QTableView& table, const QString& title)
{
    QHeaderView& header = *table.horizontalHeader();
    for (int section = 0; section < header.count(); ++section) {
        if (table.model()->headerData(section, Qt::Horizontal).toString() != title)
            continue;
        const QPoint middle(header.sectionViewportPosition(section) + header.sectionSize(section) / 2,
                            header.height() / 2);
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, middle);
    }
}

bool measure(int count)
{
    const QTemporaryDir settingsFolder;
    Preferences::installStandard(std::make_unique<Preferences>(settingsFolder.filePath(QStringLiteral("Zorvel.conf"))));
    Zorvel controller;
    MainWindow window(controller);
    window.show();
    ServerFinder* finder = openServerFinder(window);
    if (!finder)
        return false;
    Ui::ServerFinder& controls = finder->controls();
    controls.emptySearchButton->setChecked(true);
    controls.fullSearchButton->setChecked(true);
    finder->findChild<QRadioButton*>(QStringLiteral("gameButton-cod4"))->click();
    finder->getTheServersArray({{}, {}, {}, foundServers(count)});
    QApplication::processEvents();
    const qsizetype shown = finder->theServers().size();

    double sortMs = 0;
    for (const QString& title : sortedTitles)
        sortMs = std::max(sortMs, millisecondsOf([&] { clickTitle(*controls.serverTable, title); }));

    std::vector<double> keystrokes;
    controls.serverNameToFind->setFocus();
    for (int typing = 0; typing < typings; ++typing) {
        for (const QChar letter : typed)
            keystrokes.push_back(millisecondsOf([&] { QTest::keyClick(controls.serverNameToFind, letter.toLatin1()); }));
        for (qsizetype i = 0; i < typed.size(); ++i)
            keystrokes.push_back(millisecondsOf([&] { QTest::keyClick(controls.serverNameToFind, Qt::Key_Backspace); }));
    }
    if (finder->theServers().size() != shown)
        return false;
    std::printf("finder n=%d shown=%lld filter_p99_ms=%.1f filter_max_ms=%.1f sort_ms=%.1f\n", count,
                static_cast<long long>(shown), Percentile::of(keystrokes, 0.99),
                *std::max_element(keystrokes.cbegin(), keystrokes.cend()), sortMs);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QList<int> sizes(std::cbegin(defaultSizes), std::cend(defaultSizes));
    if (argc > 1) {
        sizes.clear();
        for (const QString& argument : QApplication::arguments().mid(1))
            sizes.append(argument.toInt());
    }
    bool measured = true;
    for (const int size : sizes)
        measured = measure(size) && measured;
    return measured ? 0 : 1;
}
