#include "app/BusyHoursGrid.h"

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int days = 7;
constexpr int hoursOfDay = 24;
// An hour's number is written above every third column.
constexpr int hourLabelEvery = 3;

}  // namespace

BusyHoursGrid::BusyHoursGrid(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Busy hours"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BusyHoursGrid::setHours(const ServerHistory::BusyHours& newHours)
{
    hours = newHours;
    busiest = 0;
    for (const auto& day : hours) {
        for (const std::optional<double>& players : day)
            busiest = std::max(busiest, players.value_or(0));
    }
    update();
}

int BusyHoursGrid::dayLabelsWidth() const
{
    int widest = 0;
    for (int day = 0; day < days; ++day)
        widest = std::max(widest, fontMetrics().horizontalAdvance(dayName(day)));
    return widest + fontMetrics().averageCharWidth();
}

int BusyHoursGrid::hourLabelsHeight() const
{
    return fontMetrics().height();
}

int BusyHoursGrid::cellHeight() const
{
    return fontMetrics().height();
}

QRect BusyHoursGrid::cellRect(int day, int hour) const
{
    const int left = dayLabelsWidth();
    const double cellWidth = double(width() - left) / hoursOfDay;
    const int x = left + int(hour * cellWidth);
    const int nextX = left + int((hour + 1) * cellWidth);
    return {x, hourLabelsHeight() + day * cellHeight(), nextX - x, cellHeight()};
}

QSize BusyHoursGrid::sizeHint() const
{
    return {dayLabelsWidth() + hoursOfDay * fontMetrics().horizontalAdvance(QStringLiteral("000")),
            hourLabelsHeight() + days * cellHeight() + 1};
}

QSize BusyHoursGrid::minimumSizeHint() const
{
    return {dayLabelsWidth() + hoursOfDay * fontMetrics().horizontalAdvance(QStringLiteral("0")),
            sizeHint().height()};
}

QString BusyHoursGrid::dayName(int day)
{
    // Qt counts the days of the week from 1, Monday.
    return QLocale().dayName(day + 1, QLocale::ShortFormat);
}

QColor BusyHoursGrid::shadeOf(double players) const
{
    const QColor none = palette().color(QPalette::Base);
    const QColor full = palette().color(QPalette::Highlight);
    const double share = busiest > 0 ? std::clamp(players / busiest, 0.0, 1.0) : 0;
    return QColor::fromRgbF(float(none.redF() + (full.redF() - none.redF()) * share),
                            float(none.greenF() + (full.greenF() - none.greenF()) * share),
                            float(none.blueF() + (full.blueF() - none.blueF()) * share));
}

void BusyHoursGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int hour = 0; hour < hoursOfDay; hour += hourLabelEvery) {
        const QRect cell = cellRect(0, hour);
        painter.drawText(QRect(cell.left(), 0, cell.width() * hourLabelEvery, hourLabelsHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
    }
    for (int day = 0; day < days; ++day) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, cellRect(day, 0).top(), dayLabelsWidth(), cellHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, dayName(day));
        painter.setPen(palette().color(QPalette::Mid));
        for (int hour = 0; hour < hoursOfDay; ++hour) {
            const QRect cell = cellRect(day, hour);
            const std::optional<double>& players = hours[size_t(day)][size_t(hour)];
            if (players)
                painter.fillRect(cell, shadeOf(*players));
            painter.drawRect(cell);
        }
    }
}

bool BusyHoursGrid::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this, {});
    return true;
}

QString BusyHoursGrid::tipAt(const QPoint& point) const
{
    for (int day = 0; day < days; ++day) {
        for (int hour = 0; hour < hoursOfDay; ++hour) {
            if (!cellRect(day, hour).contains(point))
                continue;
            const QString when = QStringLiteral("%1 %2:00–%3:00")
                                     .arg(QLocale().dayName(day + 1))
                                     .arg(hour, 2, 10, QLatin1Char('0'))
                                     .arg((hour + 1) % hoursOfDay, 2, 10, QLatin1Char('0'));
            const std::optional<double>& players = hours[size_t(day)][size_t(hour)];
            if (!players)
                return QStringLiteral("%1: no answers").arg(when);
            return QStringLiteral("%1: %2 players on average").arg(when, QLocale().toString(*players, 'f', 1));
        }
    }
    return {};
}
