#pragma once

#include "finders/PlayerFound.h"
#include "platform/RecordTableModel.h"

class FinderHost;

// The player finder's table: one row per result, in search order. The column
// "gameImage" shows the icon of the server's game for the four games with master
// servers and nothing for any other; the text columns are those of PlayerColumns.
class PlayerFinderTableModel : public RecordTableModel {
    Q_OBJECT
public:
    PlayerFinderTableModel(const FinderHost& controller, const QList<PlayerFound>& thePlayersFound,
                           QList<Column> columns, QObject* parent);

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    QVariant gameImage(const CodServer& server) const;

    const FinderHost& controller;
    const QList<PlayerFound>& thePlayersFound;
};
