#pragma once

#include "finders/SettingColumns.h"
#include "finders/ShownServers.h"
#include "model/CodServer.h"
#include "platform/RecordTableModel.h"

// The server finder's table: one row per server of the finder's shown list, in its
// order; the setting columns show their state as SettingColumns does, the others
// their text as ServerColumns does.
class ServerFinderTableModel : public RecordTableModel {
    Q_OBJECT
public:
    ServerFinderTableModel(const ShownServers& shownServers, QList<Column> columns,
                           SettingColumns::Icons icons, QObject* parent);

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    const ShownServers& shownServers;
    const SettingColumns::Icons icons;
};
