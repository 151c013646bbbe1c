#pragma once

#include "app/RecordTableModel.h"

class Zorvel;

// The favourites table: one row per favourite of the controller, in list order. The
// column "GameIcon" shows the icon of the server's game; every other column shows
// the server field its identifier names ("serverName", "serverIp", "serverPing", ...).
class FavoritesTableModel : public RecordTableModel {
    Q_OBJECT
public:
    FavoritesTableModel(const Zorvel& controller, QList<Column> columns, QObject* parent);

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    const Zorvel& controller;
};
