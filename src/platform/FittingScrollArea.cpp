#include "platform/FittingScrollArea.h"

#include <QEvent>
#include <QStyle>

#include <algorithm>

namespace {

// The height a short window leaves the area at the least, in lines of text.
constexpr int fewestLines = 4;

}  // namespace

FittingScrollArea::FittingScrollArea(QWidget* contents, QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from control to control inside; the area itself is no stop.
    setFocusPolicy(Qt::NoFocus);
    setWidget(contents);
}

QSize FittingScrollArea::sizeHint() const
{
    return widget()->sizeHint() + QSize(scrollBarWidth(), 0);
}

QSize FittingScrollArea::minimumSizeHint() const
{
    const QSize contents = widget()->minimumSizeHint();
    return {contents.width() + scrollBarWidth(), std::min(contents.height(), fewestLines * fontMetrics().height())};
}

// What it holds changed its needs (a list filled, a control shown): so do the area's.
bool FittingScrollArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

int FittingScrollArea::scrollBarWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}
