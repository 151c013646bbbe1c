#include "cli/QueriedServer.h"

#include "model/GameKind.h"
#include "platform/TextValue.h"

namespace {

const QString pingPrefix = QStringLiteral("Ping:");
const QString hostNameKey = QStringLiteral("sv_hostname");

}  // namespace

QueriedServer::QueriedServer(QString askedAddress, CodServerPtr server, bool hostFound)
    : askedAddress(std::move(askedAddress))
    , server(std::move(server))
    , hostFound(hostFound)
{
}

bool QueriedServer::isUp() const
{
    return server->commError() == CodServer::Answered
        && (!server->serverRules().isEmpty() || !server->serverGameName().isEmpty());
}

std::optional<QString> QueriedServer::error() const
{
    if (!hostFound)
        return QStringLiteral("host not found");
    if (isUp())
        return std::nullopt;
    if (server->commError() == CodServer::Answered)
        return QStringLiteral("bad answer");
    return QStringLiteral("no answer");
}

std::optional<QString> QueriedServer::game() const
{
    const QString id = gameIdOf(gameKindOf(server->serverGameName()));
    return answered(id);
}

// The record holds "Ping:  42 ms", or dashes where no answer came.
std::optional<qint64> QueriedServer::pingMilliseconds() const
{
    const QString ping = server->serverPing();
    if (!isUp() || !ping.startsWith(pingPrefix))
        return std::nullopt;
    return TextValue::leadingInteger(ping.mid(pingPrefix.size()));
}

// A favourite keeps its name while it does not answer; an address asked for has none.
std::optional<QString> QueriedServer::name() const
{
    const QString shown = CodServer::clearColoredName(server->serverName());
    return shown.isEmpty() ? std::nullopt : std::optional(shown);
}

// The record's name lost its colour codes; the status answer's host name has them.
std::optional<QString> QueriedServer::rawName() const
{
    for (const auto& [key, value] : server->serverRules()) {
        if (key == hostNameKey)
            return answered(value);
    }
    const QString recordName = server->serverName();
    return recordName.isEmpty() ? std::nullopt : std::optional(recordName);
}

std::optional<QString> QueriedServer::map() const { return answered(server->serverMapName()); }
std::optional<QString> QueriedServer::gametype() const { return answered(server->serverGametype()); }
std::optional<qint64> QueriedServer::maxPlayers() const { return answeredNumber(server->serverMaxClients()); }
std::optional<QString> QueriedServer::version() const { return answered(server->serverShortVersion()); }

std::optional<qint64> QueriedServer::players() const
{
    return isUp() ? std::optional<qint64>(server->serverPlayers().size()) : std::nullopt;
}

std::optional<bool> QueriedServer::password() const
{
    if (!isUp())
        return std::nullopt;
    return TextValue::integerValue(server->serverPassActive()) != 0;
}

std::optional<bool> QueriedServer::punkBuster() const
{
    const std::optional<qint64> value = answeredNumber(server->serverPunkBuster());
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

std::optional<QString> QueriedServer::answered(const QString& text) const
{
    if (!isUp() || text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<qint64> QueriedServer::answeredNumber(const QString& text) const
{
    const std::optional<QString> value = answered(text);
    return value ? std::optional<qint64>(TextValue::leadingInteger(*value)) : std::nullopt;
}
