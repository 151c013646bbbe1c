#pragma once

#include "model/CodPlayer.h"
#include "platform/RecordTableModel.h"

class Zorvel;

// The players table: one row per player of the controller's current server, none
// without a current server. A column shows the player field its identifier names
// ("playerName", "playerScore", "playerPing", "playerTeam", ...).
class PlayersTableModel : public RecordTableModel {
    Q_OBJECT
public:
    PlayersTableModel(const Zorvel& controller, QList<Column> columns, QObject* parent);

    // Whether the server tells the team of any of its players.
    bool anyPlayerHasTeam() const;

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    QList<CodPlayerPtr> players() const;

    const Zorvel& controller;
};
