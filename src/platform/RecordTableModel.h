#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// A table over a list of records that lives elsewhere, whose columns are named by
// identifiers: a cell is looked up by the identifier of its column, usually the name
// of the record field it shows. The list changes behind the table's back; reloadData
// brings the table up to date and keeps the selection on the same row numbers.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString identifier;
        QString title;
    };

    RecordTableModel(QList<Column> columns, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The identifier of the column in that place, or "" when there is none.
    QString columnIdentifier(int section) const;

    // Takes in the list as it is now: rows added or removed at its end, every cell
    // redrawn.
    void reloadData();

protected:
    // The number of records in the list now.
    virtual int numberOfRows() const = 0;
    // The value of one cell for the role, or an invalid value when the record has
    // nothing to show there.
    virtual QVariant objectValue(int row, const QString& columnIdentifier, int role) const = 0;

private:
    const QList<Column> columns;
    int shownRows = 0;
};
