#pragma once

#include <QScrollArea>

// A scroll area that asks for the whole size of what it holds and needs only its
// width: in a layout with room it shows everything without a scroll bar, and where
// room is short it scrolls up and down rather than making the window grow. It never
// scrolls sideways, so it is never narrower than what it holds.
class FittingScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit FittingScrollArea(QWidget* contents, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int scrollBarWidth() const;
};
