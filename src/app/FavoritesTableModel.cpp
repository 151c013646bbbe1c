#include "app/FavoritesTableModel.h"

#include "app/Zorvel.h"

#include <QHash>

namespace {

using ServerText = QString (CodServer::*)() const;

// The text fields of a server that a column can show, by name.
const QHash<QString, ServerText>& serverFields()
{
    static const QHash<QString, ServerText> fields = {
        {QStringLiteral("serverName"), &CodServer::serverName},
        {QStringLiteral("serverIp"), &CodServer::serverIp},
        {QStringLiteral("serverPing"), &CodServer::serverPing},
        {QStringLiteral("lastUpdate"), &CodServer::lastUpdateText},
        {QStringLiteral("serverAdmin"), &CodServer::serverAdmin},
        {QStringLiteral("serverEmail"), &CodServer::serverEmail},
        {QStringLiteral("serverGametype"), &CodServer::serverGametype},
        {QStringLiteral("serverGameName"), &CodServer::serverGameName},
        {QStringLiteral("serverLocation"), &CodServer::serverLocation},
        {QStringLiteral("serverMapName"), &CodServer::serverMapName},
        {QStringLiteral("serverFriendlyFire"), &CodServer::serverFriendlyFire},
        {QStringLiteral("serverKillCam"), &CodServer::serverKillCam},
        {QStringLiteral("serverShortVersion"), &CodServer::serverShortVersion},
        {QStringLiteral("serverMaxClients"), &CodServer::serverMaxClients},
        {QStringLiteral("serverPunkBuster"), &CodServer::serverPunkBuster},
        {QStringLiteral("serverPure"), &CodServer::serverPure},
        {QStringLiteral("serverWebSite"), &CodServer::serverWebSite},
        {QStringLiteral("serverPassActive"), &CodServer::serverPassActive},
        {QStringLiteral("serverProtocol"), &CodServer::serverProtocol},
    };
    return fields;
}

}  // namespace

FavoritesTableModel::FavoritesTableModel(const Zorvel& controller, QList<Column> columns, QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , controller(controller)
{
}

int FavoritesTableModel::numberOfRows() const
{
    return int(controller.myServers().size());
}

QVariant FavoritesTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const CodServer& server = *controller.myServers().at(row);
    if (columnIdentifier == u"GameIcon") {
        const QPixmap icon = controller.gameImage(gameKindOf(server.serverGameName()));
        return role == Qt::DecorationRole && !icon.isNull() ? QVariant(icon) : QVariant();
    }
    const ServerText field = serverFields().value(columnIdentifier);
    return role == Qt::DisplayRole && field ? QVariant((server.*field)()) : QVariant();
}
