#include "app/XRTableView.h"

#include <QDrag>
#include <QMimeData>

XRTableView::XRTableView(QWidget* parent)
    : QTableView(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
}

void XRTableView::startDrag(Qt::DropActions)
{
    QMimeData* data = model()->mimeData(selectionModel()->selectedRows());
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}
