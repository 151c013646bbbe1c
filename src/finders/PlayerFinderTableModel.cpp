#include "finders/PlayerFinderTableModel.h"

#include "finders/FinderHost.h"
#include "finders/PlayerColumns.h"

PlayerFinderTableModel::PlayerFinderTableModel(const FinderHost& controller, const QList<PlayerFound>& thePlayersFound,
                                               QList<Column> columns, QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , controller(controller)
    , thePlayersFound(thePlayersFound)
{
}

int PlayerFinderTableModel::numberOfRows() const
{
    return int(thePlayersFound.size());
}

QVariant PlayerFinderTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const PlayerFound& result = thePlayersFound.at(row);
    if (columnIdentifier == u"gameImage")
        return role == Qt::DecorationRole ? gameImage(*result.thePlayerServer) : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    return PlayerColumns::objectValue(result, columnIdentifier, QDateTime::currentDateTime());
}

QVariant PlayerFinderTableModel::gameImage(const CodServer& server) const
{
    switch (const GameKind kind = gameKindOf(server.serverGameName())) {
    case GameKind::CoD:
    case GameKind::UO:
    case GameKind::CoD2:
    case GameKind::CoD4:
        return controller.gameImage(kind);
    default:
        return {};
    }
}
