#pragma once

#include "history/ServerHistory.h"

#include <QWidget>

// A server's mean players by weekday and hour: a row per day from Monday, a column
// per hour of local time. An hour with answers is a cell shaded from the palette's
// base (no one played) to its highlight (the busiest hour); an hour without answers
// stays blank. A cell's tooltip tells its mean.
class BusyHoursGrid : public QWidget {
    Q_OBJECT
public:
    explicit BusyHoursGrid(QWidget* parent = nullptr);

    void setHours(const ServerHistory::BusyHours& hours);
    // Where the cell of the day (0 Monday to 6 Sunday) and the hour is drawn.
    QRect cellRect(int day, int hour) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    int dayLabelsWidth() const;
    int hourLabelsHeight() const;
    int cellHeight() const;
    static QString dayName(int day);
    QColor shadeOf(double players) const;
    // The tooltip of the cell at the point; empty outside the cells.
    QString tipAt(const QPoint& point) const;

    ServerHistory::BusyHours hours;
    double busiest = 0;
};
