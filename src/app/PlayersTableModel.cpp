#include "app/PlayersTableModel.h"

#include "app/Zorvel.h"

#include <QHash>

#include <algorithm>

namespace {

using PlayerText = QString (CodPlayer::*)() const;

// The fields of a player that a column can show, by name.
const QHash<QString, PlayerText>& playerFields()
{
    static const QHash<QString, PlayerText> fields = {
        {QStringLiteral("playerNumber"), &CodPlayer::playerNumber},
        {QStringLiteral("playerName"), &CodPlayer::playerName},
        {QStringLiteral("playerPing"), &CodPlayer::playerPing},
        {QStringLiteral("playerScore"), &CodPlayer::playerScore},
        {QStringLiteral("colouredName"), &CodPlayer::colouredName},
        {QStringLiteral("playerTeam"), &CodPlayer::playerTeam},
    };
    return fields;
}

}  // namespace

PlayersTableModel::PlayersTableModel(const Zorvel& controller, QList<Column> columns, QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , controller(controller)
{
}

QList<CodPlayerPtr> PlayersTableModel::players() const
{
    const CodServerPtr server = controller.currentServer();
    return server ? server->serverPlayers() : QList<CodPlayerPtr>();
}

bool PlayersTableModel::anyPlayerHasTeam() const
{
    const QList<CodPlayerPtr> shown = players();
    return std::any_of(shown.cbegin(), shown.cend(),
                       [](const CodPlayerPtr& player) { return !player->playerTeam().isEmpty(); });
}

int PlayersTableModel::numberOfRows() const
{
    return int(players().size());
}

QVariant PlayersTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const QList<CodPlayerPtr> shown = players();
    const PlayerText field = playerFields().value(columnIdentifier);
    if (role != Qt::DisplayRole || !field || row >= shown.size())
        return {};
    return (shown.at(row).get()->*field)();
}
