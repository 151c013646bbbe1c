#pragma once

#include "app/RecordTableModel.h"
#include "model/CodServer.h"

// The server finder's table: one row per server of the finder's shown list, in its
// order; the cells are those of ServerColumns.
class ServerFinderTableModel : public RecordTableModel {
    Q_OBJECT
public:
    ServerFinderTableModel(const QList<CodServerPtr>& shownServers, QList<Column> columns, QObject* parent);

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    const QList<CodServerPtr>& shownServers;
};
