#pragma once

#include "platform/RecordTableModel.h"

#include <QStringList>

#include <functional>

// The maps installed on the edited server, one row per map of its listing in listing
// order, in the column "mapName". A map is dragged out as a new rotation entry with
// the gametype that new entries get.
class AvailableMapsModel : public RecordTableModel {
    Q_OBJECT
public:
    AvailableMapsModel(std::function<QStringList()> serverMaps, std::function<QString()> newEntryGametype,
                       QObject* parent);

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    const std::function<QStringList()> serverMaps;
    const std::function<QString()> newEntryGametype;
};
