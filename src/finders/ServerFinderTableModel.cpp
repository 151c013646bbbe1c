#include "finders/ServerFinderTableModel.h"

#include "finders/ServerColumns.h"

ServerFinderTableModel::ServerFinderTableModel(const ShownServers& shownServers, QList<Column> columns,
                                               SettingColumns::Icons icons, QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , shownServers(shownServers)
    , icons(std::move(icons))
{
}

int ServerFinderTableModel::numberOfRows() const
{
    return int(shownServers.size());
}

QVariant ServerFinderTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const CodServer& server = *shownServers.at(row);
    if (SettingColumns::fieldOf(columnIdentifier))
        return SettingColumns::data(server, columnIdentifier, role, icons);
    if (role != Qt::DisplayRole)
        return {};
    return ServerColumns::objectValue(server, columnIdentifier);
}
