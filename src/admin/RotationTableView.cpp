#include "admin/RotationTableView.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QGuiApplication>

void RotationTableView::setDragSources(const QList<const QObject*>& sources)
{
    dragSources = sources;
}

void RotationTableView::startDrag(Qt::DropActions supportedActions)
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    QMimeData* data = rows.isEmpty() ? nullptr : model()->mimeData(rows);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    if (QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier))
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    else
        drag->exec(supportedActions, defaultDropAction());
}

// A drag that is refused here is never offered a move or a drop.
void RotationTableView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!dragSources.contains(event->source())) {
        event->ignore();
        return;
    }
    QTableView::dragEnterEvent(event);
}
