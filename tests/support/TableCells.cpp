#include "support/TableCells.h"

#include <QTableView>
#include <QTextDocumentFragment>

#include <stdexcept>

int columnTitled(const QTableView& table, const QString& columnTitle)
{
    const QAbstractItemModel& model = *table.model();
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == columnTitle)
            return column;
    }
    throw std::runtime_error("no column " + columnTitle.toStdString());
}

QVariant cell(const QTableView& table, int row, const QString& columnTitle, int role)
{
    const QAbstractItemModel& model = *table.model();
    return model.data(model.index(row, columnTitled(table, columnTitle)), role);
}

QString tipText(const QVariant& tip)
{
    return QTextDocumentFragment::fromHtml(tip.toString()).toPlainText();
}

QStringList namesOf(const QList<CodServerPtr>& servers)
{
    QStringList names;
    for (const CodServerPtr& server : servers)
        names.append(server->serverName());
    return names;
}

QStringList addressesOf(const QList<CodServerPtr>& servers)
{
    QStringList addresses;
    for (const CodServerPtr& server : servers)
        addresses.append(server->serverIp());
    return addresses;
}

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}
