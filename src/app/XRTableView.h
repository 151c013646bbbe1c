#pragma once

#include <QTableView>

// The favourites table of the main window. A row is dragged as its favourite's
// address: dropped back on this table it moves the favourite, dropped on another
// program it is a copy of the text. What a drop does is the model's decision, so the
// table never removes a row once a drag has ended, whatever action the target chose.
class XRTableView : public QTableView {
    Q_OBJECT
public:
    explicit XRTableView(QWidget* parent = nullptr);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};
