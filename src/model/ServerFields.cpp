#include "model/ServerFields.h"

#include "model/CodServer.h"

#include <QHash>

namespace ServerFields {

Text named(const QString& identifier)
{
    static const QHash<QString, Text> fields = {
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
    return fields.value(identifier);
}

}  // namespace ServerFields
