#pragma once

#include "admin/MapForRotation.h"
#include "platform/RecordTableModel.h"

#include <QList>
#include <QStringList>

#include <functional>

// The working rotation of the editor, one row per entry in rotation order. The column
// "mapName" shows the entry's map; the column "gametype" shows its gametype when it
// is one of the offered gametypes (and nothing when it is not: the command will carry
// another) and takes a new one from the gametype pop-up. Rows of maps the server
// lacks are drawn in red. Entries leave and arrive as "MapAndGametypePBoardType"
// drags: a drop of a move takes the entry from its old row, any other drop adds it.
class RotationMapsModel : public RecordTableModel {
    Q_OBJECT
public:
    // The column "gametype", after the column "mapName".
    static constexpr int gametypeColumn = 1;

    RotationMapsModel(std::function<QStringList()> serverMaps, std::function<QStringList()> offeredGametypes,
                      QObject* parent);

    QList<MapForRotation>& theMapsForRotation() { return rotation; }
    const QList<MapForRotation>& theMapsForRotation() const { return rotation; }

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // A drop changed the rotation.
    void rotationDropped();

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    static bool isGametypeColumn(const QModelIndex& index);

    const std::function<QStringList()> serverMaps;
    const std::function<QStringList()> offeredGametypes;
    QList<MapForRotation> rotation;
};
