#include "finders/ServerFinderTableModel.h"

#include "finders/ServerColumns.h"

ServerFinderTableModel::ServerFinderTableModel(const QList<CodServerPtr>& shownServers, QList<Column> columns,
                                               QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , shownServers(shownServers)
{
}

int ServerFinderTableModel::numberOfRows() const
{
    return int(shownServers.size());
}

QVariant ServerFinderTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return ServerColumns::objectValue(*shownServers.at(row), columnIdentifier);
}
