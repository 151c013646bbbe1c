#include "support/TableCells.h"

#include <QTableView>

#include <stdexcept>

QVariant cell(const QTableView& table, int row, const QString& columnTitle, int role)
{
    const QAbstractItemModel& model = *table.model();
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == columnTitle)
            return model.data(model.index(row, column), role);
    }
    throw std::runtime_error("no column " + columnTitle.toStdString());
}

QStringList namesOf(const QList<CodServerPtr>& servers)
{
    QStringList names;
    for (const CodServerPtr& server : servers)
        names.append(server->serverName());
    return names;
}
