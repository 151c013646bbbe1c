#include "launch/Desktop.h"
#include "launch/GameApplications.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "model/GameCatalogue.h"
#include "platform/Alerts.h"

#include <optional>

namespace {

// The games joined through the two services of their application (an address to
// connect to, or console commands) rather than by starting a launcher with arguments.
struct ServiceRoute {
    QString connectService;
    QString commandService;
    // The game as the alerts about its services call it.
    QString serviceOwner;
};

std::optional<ServiceRoute> serviceRouteOf(const QString& gameId)
{
    using namespace GameApplications;
    if (gameId == callOfDuty)
        return ServiceRoute{codConnectService, codCommandService, QStringLiteral("CoD")};
    if (gameId == unitedOffensive)
        return ServiceRoute{uoConnectService, uoCommandService, QStringLiteral("UO")};
    return std::nullopt;
}

// The catalogue's arguments with the placeholder replaced in each.
QStringList filledIn(const QStringList& arguments, const QString& placeholder, const QString& value)
{
    QStringList filled;
    for (const QString& argument : arguments)
        filled.append(QString(argument).replace(placeholder, value));
    return filled;
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

bool joinThroughService(const ServiceRoute& route, const QString& password, const QString& address)
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

// The launcher gets the game's password arguments (when a password is given), then
// its join arguments, as the catalogue writes them.
bool joinByStarting(const GameDescription& game, const QString& password, const QString& address)
{
    const QString executable = Desktop::current().applicationPath(game.id);
    if (executable.isEmpty()) {
        alertNotJoinable();
        return false;
    }
    QStringList arguments;
    if (!password.isEmpty())
        arguments.append(filledIn(game.passwordArguments, QStringLiteral("{password}"), password));
    arguments.append(filledIn(game.joinArguments, QStringLiteral("{address}"), address));
    if (Desktop::current().startDetached(executable, arguments))
        return true;
    alert(QStringLiteral("Go to server"), QStringLiteral("The game of the server could not be started"));
    return false;
}

}  // namespace

bool CodServer::joinServerWithPass(const QString& password, const InstalledGames& games) const
{
    const GameDescription* game = GameCatalogue::standard().gameOf(serverGameName(), serverRules());
    if (!game || !games.has(game->id)) {
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
    if (const std::optional<ServiceRoute> route = serviceRouteOf(game->id))
        return joinThroughService(*route, password, address);
    return joinByStarting(*game, password, address);
}
