#pragma once

#include <QTableView>

// The favourites table of the main window.
class XRTableView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
};
