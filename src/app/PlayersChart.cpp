#include "app/PlayersChart.h"

#include "platform/PlainText.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

namespace {

// The players axis shows at least this many, so that a quiet server's line does
// not fill the chart.
constexpr int fewestPlayersShown = 4;
constexpr qreal markSize = 9;
// Over a long period the changes are many: their marks shrink to let the line show.
constexpr qsizetype manyChanges = 60;
constexpr qreal smallMarkSize = 5;

qreal millisecondsOf(qint64 seconds)
{
    return qreal(seconds) * 1000;
}

}  // namespace

PlayersChart::PlayersChart(QWidget* parent)
    : QChartView(new QChart, parent)
    , timeAxis(new QDateTimeAxis)
    , playersAxis(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName(QStringLiteral("Players over time"));
    chart()->legend()->hide();
    chart()->setBackgroundRoundness(0);
    chart()->setMargins(QMargins());
    timeAxis->setTickCount(5);
    playersAxis->setLabelFormat(QStringLiteral("%d"));
    playersAxis->setTitleText(QStringLiteral("Players"));
    chart()->addAxis(timeAxis, Qt::AlignBottom);
    chart()->addAxis(playersAxis, Qt::AlignLeft);
    followPalette();
}

void PlayersChart::showHistory(const ServerHistory& history, qint64 since, qint64 until, qint64 gapSeconds,
                               const QString& timeFormat)
{
    QToolTip::hideText();
    chart()->removeAllSeries();
    mapMarks = nullptr;
    timeAxis->setFormat(timeFormat);
    timeAxis->setRange(QDateTime::fromSecsSinceEpoch(since), QDateTime::fromSecsSinceEpoch(until));
    scalePlayersAxis(history);
    addPlayerLines(history.players, gapSeconds);
    markMapChanges(history.mapChanges);
    followPalette();
}

void PlayersChart::scalePlayersAxis(const ServerHistory& history)
{
    double most = fewestPlayersShown;
    for (const ServerHistory::Point& point : history.players)
        most = std::max(most, point.players);
    for (const ServerHistory::MapChange& change : history.mapChanges)
        most = std::max(most, double(change.players));
    // One player more than the most seen, rounded up, leaves room above the busiest
    // answer for its whole mark.
    playersAxis->setRange(0, most + 1);
    playersAxis->applyNiceNumbers();
}

void PlayersChart::addPlayerLines(const QList<ServerHistory::Point>& points, qint64 gapSeconds)
{
    QList<QPointF> line;
    qint64 previous = 0;
    for (const ServerHistory::Point& point : points) {
        if (!line.isEmpty() && point.time - previous > gapSeconds) {
            addLine(line);
            line.clear();
        }
        line.append({millisecondsOf(point.time), point.players});
        previous = point.time;
    }
    if (!line.isEmpty())
        addLine(line);
}

void PlayersChart::addLine(const QList<QPointF>& points)
{
    auto* line = new QLineSeries;
    line->append(points);
    // A lone answer has no line to draw: its point shows it.
    line->setPointsVisible(points.size() == 1);
    chart()->addSeries(line);
    line->attachAxis(timeAxis);
    line->attachAxis(playersAxis);
}

void PlayersChart::markMapChanges(const QList<ServerHistory::MapChange>& changes)
{
    markedChanges = changes;
    mapMarks = new QScatterSeries;
    mapMarks->setName(QStringLiteral("Map changes"));
    mapMarks->setMarkerSize(changes.size() > manyChanges ? smallMarkSize : markSize);
    for (const ServerHistory::MapChange& change : changes)
        mapMarks->append(millisecondsOf(change.time), change.players);
    chart()->addSeries(mapMarks);
    mapMarks->attachAxis(timeAxis);
    mapMarks->attachAxis(playersAxis);
    connect(mapMarks, &QScatterSeries::hovered, this, &PlayersChart::tellMapChange);
}

QString PlayersChart::mapChangeTip(const QPointF& point) const
{
    const auto change = std::min_element(markedChanges.cbegin(), markedChanges.cend(), [&point](auto& a, auto& b) {
        return std::abs(millisecondsOf(a.time) - point.x()) < std::abs(millisecondsOf(b.time) - point.x());
    });
    if (change == markedChanges.cend())
        return {};
    const QString when = QLocale().toString(QDateTime::fromSecsSinceEpoch(change->time), QLocale::ShortFormat);
    return QStringLiteral("Map %1 from %2").arg(change->map, when);
}

void PlayersChart::tellMapChange(const QPointF& point, bool hovered)
{
    if (hovered)
        QToolTip::showText(QCursor::pos(), PlainText::toolTip(mapChangeTip(point)), this);
    else
        QToolTip::hideText();
}

void PlayersChart::changeEvent(QEvent* event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followPalette();
}

void PlayersChart::followPalette()
{
    const QPalette& colours = palette();
    const QColor text = colours.color(QPalette::WindowText);
    const QColor grid = colours.color(QPalette::Mid);
    setBackgroundBrush(colours.window());
    chart()->setBackgroundBrush(colours.window());
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(timeAxis), static_cast<QAbstractAxis*>(playersAxis)}) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(grid);
        axis->setGridLineColor(grid);
    }
    for (QAbstractSeries* series : chart()->series()) {
        if (auto* line = qobject_cast<QLineSeries*>(series); line)
            line->setPen(QPen(colours.color(QPalette::Highlight), 2));
    }
    if (mapMarks) {
        mapMarks->setColor(colours.color(QPalette::Base));
        mapMarks->setBorderColor(text);
    }
}
