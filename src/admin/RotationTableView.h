#pragma once

#include <QList>
#include <QTableView>

// A table of the rotation editor. A drag carries the selected row; with Alt held it
// offers only a copy, so that the drop duplicates the entry, and otherwise what the
// table's model offers. The dragged row is never taken out here: the drop that
// moves an entry takes it from its old row itself. Drops are taken only from the
// tables named by setDragSources.
class RotationTableView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    void setDragSources(const QList<const QObject*>& sources);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;

private:
    QList<const QObject*> dragSources;
};
