// The Information window's History tab, drawn from a history file seeded through the
// store: what it says of a server without history, the points of each period chosen
// with the keyboard, the map changes' tips and the busy hours' cells.
#include "MainWindowFixture.h"

#include "app/BusyHoursGrid.h"
#include "app/InfoWindow.h"
#include "app/PlayersChart.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

namespace {

void waitUntil(const std::function<bool()>& condition);

constexpr qint64 hour = 3600;
constexpr qint64 day = 24 * hour;

class HistoryTabWindow : public MainWindowFixture {
protected:
    // Each test's history is a file of its own.
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
    }

    void TearDown() override
    {
        window.reset();
        controller.reset();
        qputenv("XDG_DATA_HOME", dataHome);
    }

    void record(qint64 secondsAgo, int players, const QString& map) const
    {
        ServerAnswer answer;
        answer.time = QDateTime::currentSecsSinceEpoch() - secondsAgo;
        answer.address = nobodyAnswers;
        answer.game = QStringLiteral("Call of Duty 2");
        answer.name = QStringLiteral("Charted");
        answer.map = map;
        answer.players = players;
        answer.maxPlayers = 24;
        controller->history().record(answer);
    }

    // Opens the favourite's Information window with its button and goes to the
    // History tab with its mnemonic, once what the store holds is written.
    void openHistory()
    {
        bool written = false;
        controller->history().run([](HistoryDatabase&) {}, controller.get(), [&written] { written = true; });
        waitUntil([&written] { return written; });
        ASSERT_TRUE(written);
        select(0);
        // The details are those of a server that answered.
        favourite(0)->setCommError(CodServer::Answered);
        redraw();
        clickButton("infoServerButton");
        sheet = &window->infoWindow();
        ASSERT_TRUE(sheet->isVisible());
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
        waitUntil([this] { return sheet->isActiveWindow(); });
        ASSERT_TRUE(sheet->isActiveWindow());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
        ASSERT_EQ(tabs().tabText(tabs().currentIndex()), "&History");
    }

    QTabWidget& tabs() const { return *sheet->findChild<QTabWidget*>("infoTabs"); }
    PlayersChart& chart() const { return *sheet->findChild<PlayersChart*>("historyChart"); }
    QLabel& nothing() const { return *sheet->findChild<QLabel*>("historyNothing"); }

    // Chooses the period with the keyboard: Alt+P reaches the choice, the arrows move
    // in it.
    void choosePeriod(int steps) const
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QComboBox& periods = *sheet->findChild<QComboBox*>("historyPeriod");
        ASSERT_EQ(QApplication::focusWidget(), &periods);
        for (int step = 0; step < std::abs(steps); ++step)
            QTest::keyClick(&periods, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    int points() const
    {
        int found = 0;
        for (QAbstractSeries* series : chart().chart()->series()) {
            if (auto* line = qobject_cast<QLineSeries*>(series))
                found += line->count();
        }
        return found;
    }

    // Waits until the tab drew an answer with that many points of players.
    void waitForPoints(int count) const
    {
        waitUntil([&] { return chart().isVisible() && points() == count; });
        EXPECT_EQ(points(), count);
        EXPECT_TRUE(chart().isVisible());
    }

    int lines() const
    {
        int found = 0;
        for (QAbstractSeries* series : chart().chart()->series())
            found += qobject_cast<QLineSeries*>(series) ? 1 : 0;
        return found;
    }

    QScatterSeries& mapMarks() const
    {
        for (QAbstractSeries* series : chart().chart()->series()) {
            if (auto* marks = qobject_cast<QScatterSeries*>(series))
                return *marks;
        }
        throw std::runtime_error("no map changes are marked");
    }

    QTemporaryDir folder;
    QByteArray dataHome;
    InfoWindow* sheet = nullptr;
};

// Runs the events until the condition holds, or for two minutes.
void waitUntil(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(120000);
    while (!condition() && !deadline.hasExpired())
        QTest::qWait(5);
}

QString shownText(const QString& toolTip)
{
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

}  // namespace

TEST_F(HistoryTabWindow, aServerWithoutHistoryInTheChosenPeriodSaysSo)
{
    startWith({server("Charted", nobodyAnswers)});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitUntil([this] { return nothing().text() == "No history for this server yet."; });
    EXPECT_EQ(nothing().text(), "No history for this server yet.");
    EXPECT_TRUE(nothing().isVisible());
    EXPECT_FALSE(chart().isVisible());

    record(40 * day, 9, QStringLiteral("mp_old"));
    controller->closeInfoWindow();
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitUntil([this] { return nothing().text() == "No history for this server in the last 24 hours."; });
    EXPECT_EQ(nothing().text(), "No history for this server in the last 24 hours.");
    choosePeriod(2);
    waitUntil([this] { return nothing().text() == "No history for this server in the last 30 days."; });
    EXPECT_EQ(nothing().text(), "No history for this server in the last 30 days.");
}

TEST_F(HistoryTabWindow, theKeyboardChoosesThePeriodWhosePointsTheChartDraws)
{
    startWith({server("Charted", nobodyAnswers)});
    record(40 * day, 11, QStringLiteral("mp_old"));
    record(20 * day, 9, QStringLiteral("mp_a"));
    record(3 * day, 7, QStringLiteral("mp_a"));
    record(5 * hour, 4, QStringLiteral("mp_a"));
    record(1 * hour, 6, QStringLiteral("mp_b"));
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitForPoints(2);
    choosePeriod(1);
    waitForPoints(3);
    choosePeriod(1);
    waitForPoints(4);
    EXPECT_EQ(lines(), 3) << "the answers of 20 and 3 days ago are not joined to the others";
    choosePeriod(-2);
    waitForPoints(2);
    EXPECT_EQ(mapMarks().count(), 2) << "the map at the period's start, and the change to mp_b";
}

// The busiest answer, at a round number of players, still shows its whole mark under
// the top of the chart.
TEST_F(HistoryTabWindow, theBusiestAnswersMarkStandsWhollyInsideTheChart)
{
    startWith({server("Charted", nobodyAnswers)});
    record(3 * hour, 4, QStringLiteral("mp_a"));
    record(1 * hour, 20, QStringLiteral("mp_b"));
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitForPoints(2);
    QScatterSeries& marks = mapMarks();
    ASSERT_EQ(marks.count(), 2);
    const QPointF busiest = chart().chart()->mapToPosition(marks.at(1), &marks);
    EXPECT_GE(busiest.y() - chart().chart()->plotArea().top(), marks.markerSize() / 2);
}

// A map name is the server's text: the change's tip shows its markup as typed.
TEST_F(HistoryTabWindow, hoveringAMapChangeTellsTheMapAsPlainText)
{
    startWith({server("Charted", nobodyAnswers)});
    record(3 * hour, 4, QStringLiteral("mp_a"));
    record(1 * hour, 6, QStringLiteral("<b>bold</b>"));
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitForPoints(2);
    QScatterSeries& marks = mapMarks();
    ASSERT_EQ(marks.count(), 2);
    const QPointF change = marks.at(1);
    EXPECT_EQ(change.y(), 6);
    const QPoint where = chart().mapFromScene(chart().chart()->mapToPosition(change, &marks));
    QWindow& shown = *sheet->windowHandle();
    const QPoint inWindow = chart().viewport()->mapTo(sheet, where);
    QTest::mouseMove(&shown, inWindow + QPoint(20, 20));
    QTest::mouseMove(&shown, inWindow);
    waitUntil([] { return QToolTip::isVisible(); });
    EXPECT_TRUE(shownText(QToolTip::text()).startsWith("Map <b>bold</b> from ")) << QToolTip::text().toStdString();
}

TEST_F(HistoryTabWindow, theBusiestHourIsTheFullyShadedCellOfItsWeekdayAndHour)
{
    startWith({server("Charted", nobodyAnswers)});
    record(3 * hour, 2, QStringLiteral("mp_a"));
    record(1 * hour, 8, QStringLiteral("mp_a"));
    ASSERT_NO_FATAL_FAILURE(openHistory());
    waitForPoints(2);
    const auto cellOf = [](qint64 secondsAgo) {
        const QDateTime when = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - secondsAgo);
        return std::pair(when.date().dayOfWeek() - 1, when.time().hour());
    };
    auto& grid = *sheet->findChild<BusyHoursGrid*>("historyBusyHours");
    const QImage drawn = grid.grab().toImage();
    const auto colourAt = [&](std::pair<int, int> cell) {
        const QRect rect = grid.cellRect(cell.first, cell.second);
        return drawn.pixelColor(rect.center() * drawn.devicePixelRatio());
    };
    const QColor full = grid.palette().color(QPalette::Highlight);
    const QColor none = grid.palette().color(QPalette::Base);
    EXPECT_EQ(colourAt(cellOf(1 * hour)), full);
    const QColor quieter = colourAt(cellOf(3 * hour));
    EXPECT_NE(quieter, full);
    EXPECT_NE(quieter, none) << "two players are some";
    const std::pair unrecorded(cellOf(1 * hour).first, (cellOf(1 * hour).second + 12) % 24);
    EXPECT_NE(colourAt(unrecorded), full);
    EXPECT_NE(colourAt(unrecorded), quieter);
}
