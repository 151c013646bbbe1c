#include "admin/RotationMapsModel.h"

#include "admin/RotationDrag.h"

#include <QColor>

namespace {

const QString gametypeIdentifier = QStringLiteral("gametype");

}  // namespace

RotationMapsModel::RotationMapsModel(std::function<QStringList()> serverMaps,
                                     std::function<QStringList()> offeredGametypes, QObject* parent)
    : RecordTableModel({{QStringLiteral("mapName"), tr("Map")}, {gametypeIdentifier, tr("Gametype")}}, parent)
    , serverMaps(std::move(serverMaps))
    , offeredGametypes(std::move(offeredGametypes))
{
}

// Drops always fall between rows: the rows themselves take none, the table does.
Qt::ItemFlags RotationMapsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    const Qt::ItemFlags editable = isGametypeColumn(index) ? Qt::ItemIsEditable : Qt::NoItemFlags;
    return RecordTableModel::flags(index) | Qt::ItemIsDragEnabled | editable;
}

bool RotationMapsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !isGametypeColumn(index) || index.row() >= rotation.size())
        return false;
    rotation[index.row()].setGametype(value.toString());
    emit dataChanged(index, index);
    return true;
}

QStringList RotationMapsModel::mimeTypes() const
{
    return {RotationDrag::mimeType};
}

QMimeData* RotationMapsModel::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.isEmpty() || indexes.first().row() >= rotation.size())
        return nullptr;
    const int row = indexes.first().row();
    return RotationDrag(rotation.at(row), row).mimeData();
}

Qt::DropActions RotationMapsModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions RotationMapsModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

bool RotationMapsModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex&)
{
    const std::optional<RotationDrag> drag = data ? RotationDrag::fromMimeData(*data) : std::nullopt;
    const bool dropped = drag && drag->dropInto(rotation, row, action == Qt::MoveAction);
    reloadData();
    if (dropped)
        emit rotationDropped();
    return dropped;
}

int RotationMapsModel::numberOfRows() const
{
    return int(rotation.size());
}

QVariant RotationMapsModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const MapForRotation& entry = rotation.at(row);
    if (role == Qt::ForegroundRole)
        return entry.isOnServer(serverMaps()) ? QVariant() : QColor(Qt::red);
    if (columnIdentifier == gametypeIdentifier && role == Qt::EditRole)
        return entry.gametype();
    if (role != Qt::DisplayRole)
        return {};
    if (columnIdentifier == gametypeIdentifier)
        return offeredGametypes().contains(entry.gametype()) ? entry.gametype() : QString();
    return entry.mapName();
}

bool RotationMapsModel::isGametypeColumn(const QModelIndex& index)
{
    return index.isValid() && index.column() == gametypeColumn;
}
