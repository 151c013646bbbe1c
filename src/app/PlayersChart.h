#pragma once

#include "history/ServerHistory.h"

#include <QChartView>

class QDateTimeAxis;
class QScatterSeries;
class QValueAxis;

// A server's players over a period: a line of the mean players, broken where no
// answer came for a while, and a point on it where the map changed. Hovering such a
// point tells the map, as the server sent it, and when it started. The chart takes
// its colours from the widget's palette, and follows it when it changes.
class PlayersChart : public QChartView {
    Q_OBJECT
public:
    explicit PlayersChart(QWidget* parent = nullptr);

    // Draws the history over the period from `since` to `until`; answers further
    // apart than gapSeconds are not joined. Times are written in the time format.
    void showHistory(const ServerHistory& history, qint64 since, qint64 until, qint64 gapSeconds,
                     const QString& timeFormat);
    // The tooltip of the map change marked at the point of the chart.
    QString mapChangeTip(const QPointF& point) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void addPlayerLines(const QList<ServerHistory::Point>& points, qint64 gapSeconds);
    void addLine(const QList<QPointF>& points);
    void markMapChanges(const QList<ServerHistory::MapChange>& changes);
    void scalePlayersAxis(const ServerHistory& history);
    void tellMapChange(const QPointF& point, bool hovered);
    void followPalette();

    QDateTimeAxis* timeAxis;
    QValueAxis* playersAxis;
    QScatterSeries* mapMarks = nullptr;
    QList<ServerHistory::MapChange> markedChanges;
};
