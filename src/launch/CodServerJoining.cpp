#include "launch/Desktop.h"
#include "launch/GameApplications.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "model/GameKind.h"
#include "platform/Alerts.h"

#include <optional>

namespace {

// How a game is joined: through the two services of its application (an address to
// connect to, or console commands), or by starting its application with connect
// arguments.
struct JoinRoute {
    bool InstalledGames::*installed;
    QString application;
    QString connectService;
    QString commandService;
    // The game as the alerts about its services call it.
    QString serviceOwner;
};

std::optional<JoinRoute> joinRouteOf(GameKind kind)
{
    using namespace GameApplications;
    switch (kind) {
    case GameKind::CoD: return JoinRoute{&InstalledGames::hasCoD, {}, codConnectService, codCommandService, "CoD"};
    case GameKind::UO: return JoinRoute{&InstalledGames::hasUO, {}, uoConnectService, uoCommandService, "UO"};
    case GameKind::CoD2: return JoinRoute{&InstalledGames::hasCoD2, callOfDuty2, {}, {}, {}};
    case GameKind::CoD4: return JoinRoute{&InstalledGames::hasCoD4, callOfDuty4, {}, {}, {}};
    case GameKind::UrbanTerror: return JoinRoute{&InstalledGames::hasUrbanTerror, urbanTerror, {}, {}, {}};
    default: return std::nullopt;
    }
}

void alert(const QString& title, const QString& message)
{
    Alerts::current().runAlert(title, message, QStringLiteral("Argh"));
}

void alertNotJoinable()
{
    alert(QStringLiteral("Go to server"), QStringLiteral("The game of the server is not specified in the status"));
}

// The games run what they are handed as console commands: a semicolon, a line break
// or another control character ends a command, a '+' on their command line begins
// one, and a double quote changes how the rest is split. A text holding none of
// them cannot smuggle a command of its own in.
bool isSafeForTheConsole(const QString& text)
{
    for (const QChar character : text) {
        if (character.category() == QChar::Other_Control || character == u';' || character == u'+'
            || character == u'"')
            return false;
    }
    return true;
}

bool joinThroughService(const JoinRoute& route, const QString& password, const QString& address)
{
    if (password.isEmpty()) {
        if (Desktop::current().performService(route.connectService, address))
            return true;
        alert(QStringLiteral("Go to server"),
              QStringLiteral("Connect To Server Service of %1 does not work properly").arg(route.serviceOwner));
        return false;
    }
    const QString commands = QStringLiteral("password %1 \n connect %2").arg(password, address);
    if (Desktop::current().performService(route.commandService, commands))
        return true;
    alert(QStringLiteral("Go to server with password"),
          QStringLiteral("Perform Command Service of %1 does not work properly").arg(route.serviceOwner));
    return false;
}

bool joinByStarting(const JoinRoute& route, const QString& password, const QString& address)
{
    const QString executable = Desktop::current().applicationPath(route.application);
    if (executable.isEmpty()) {
        alertNotJoinable();
        return false;
    }
    QStringList arguments;
    if (!password.isEmpty())
        arguments.append(QStringLiteral("+password ") + password);
    arguments.append(QStringLiteral("+connect ") + address);
    if (Desktop::current().startDetached(executable, arguments))
        return true;
    alert(QStringLiteral("Go to server"), QStringLiteral("The game of the server could not be started"));
    return false;
}

}  // namespace

bool CodServer::joinServerWithPass(const QString& password, const InstalledGames& games) const
{
    const std::optional<JoinRoute> route = joinRouteOf(gameKindOf(serverGameName()));
    if (!route || !(games.*route->installed)) {
        alertNotJoinable();
        return false;
    }
    const QString address = serverIp();
    if (!isSafeForTheConsole(password) || !isSafeForTheConsole(address)) {
        alert(QStringLiteral("Go to server"),
              QStringLiteral("The password or the address holds a semicolon, a plus sign, a double quote or a "
                             "control character, which the game would take as a command of its own"));
        return false;
    }
    return route->application.isEmpty() ? joinThroughService(*route, password, address)
                                        : joinByStarting(*route, password, address);
}
