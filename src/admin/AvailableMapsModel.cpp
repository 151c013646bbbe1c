#include "admin/AvailableMapsModel.h"

#include "admin/RotationDrag.h"

AvailableMapsModel::AvailableMapsModel(std::function<QStringList()> serverMaps,
                                       std::function<QString()> newEntryGametype, QObject* parent)
    : RecordTableModel({{QStringLiteral("mapName"), tr("Map")}}, parent)
    , serverMaps(std::move(serverMaps))
    , newEntryGametype(std::move(newEntryGametype))
{
}

Qt::ItemFlags AvailableMapsModel::flags(const QModelIndex& index) const
{
    return RecordTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList AvailableMapsModel::mimeTypes() const
{
    return {RotationDrag::mimeType};
}

QMimeData* AvailableMapsModel::mimeData(const QModelIndexList& indexes) const
{
    const QStringList maps = serverMaps();
    if (indexes.isEmpty() || indexes.first().row() >= maps.size())
        return nullptr;
    const MapForRotation entry(maps.at(indexes.first().row()), newEntryGametype());
    return RotationDrag(entry, RotationDrag::fromAvailableMaps).mimeData();
}

Qt::DropActions AvailableMapsModel::supportedDragActions() const
{
    return Qt::CopyAction;
}

int AvailableMapsModel::numberOfRows() const
{
    return int(serverMaps().size());
}

QVariant AvailableMapsModel::objectValue(int row, const QString&, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return serverMaps().value(row);
}
