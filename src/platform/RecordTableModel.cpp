#include "platform/RecordTableModel.h"

RecordTableModel::RecordTableModel(QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , columns(std::move(columns))
{
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows;
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns.size());
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.row() >= numberOfRows())
        return {};
    return objectValue(index.row(), columns.at(index.column()).identifier, role);
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columns.size())
        return {};
    return columns.at(section).title;
}

QString RecordTableModel::columnIdentifier(int section) const
{
    return section >= 0 && section < columns.size() ? columns.at(section).identifier : QString();
}

void RecordTableModel::reloadData()
{
    const int rows = numberOfRows();
    if (rows < shownRows) {
        beginRemoveRows({}, rows, shownRows - 1);
        shownRows = rows;
        endRemoveRows();
    } else if (rows > shownRows) {
        beginInsertRows({}, shownRows, rows - 1);
        shownRows = rows;
        endInsertRows();
    }
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}
