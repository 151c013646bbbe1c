#include "launch/LinuxDesktop.h"

#include "launch/GameApplications.h"
#include "model/GameCatalogue.h"

#include <QHash>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace {

// The executable names tried, in order, for a game application identifier: the
// launchers of the game of that id in the catalogue.
QStringList executableNames(const QString& identifier)
{
    const GameDescription* game = GameCatalogue::standard().find(identifier);
    return game ? game->launchers : QStringList();
}

// A service of a game application: the game it belongs to, and whether its text is
// console commands (one a line) rather than an address to connect to.
struct GameService {
    QString application;
    bool takesCommands = false;
};

std::optional<GameService> gameServiceNamed(const QString& service)
{
    static const QHash<QString, GameService> services = {
        {GameApplications::codConnectService, {GameApplications::callOfDuty, false}},
        {GameApplications::codCommandService, {GameApplications::callOfDuty, true}},
        {GameApplications::uoConnectService, {GameApplications::unitedOffensive, false}},
        {GameApplications::uoCommandService, {GameApplications::unitedOffensive, true}},
    };
    const auto found = services.constFind(service);
    if (found == services.cend())
        return std::nullopt;
    return *found;
}

// The launcher arguments that do what the service does with the text: the game runs
// each "+command" argument as a console command once it has started.
QStringList launcherArguments(const GameService& service, const QString& text)
{
    if (!service.takesCommands)
        return {QStringLiteral("+connect ") + text};
    QStringList arguments;
    for (const QString& line : text.split(u'\n')) {
        const QString command = line.trimmed();
        if (!command.isEmpty())
            arguments.append(u'+' + command);
    }
    return arguments;
}

}  // namespace

QString LinuxDesktop::applicationPath(const QString& identifier)
{
    for (const QString& name : executableNames(identifier)) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool LinuxDesktop::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool LinuxDesktop::performService(const QString& service, const QString& text)
{
    const std::optional<GameService> gameService = gameServiceNamed(service);
    if (!gameService)
        return false;
    const QString launcher = applicationPath(gameService->application);
    return !launcher.isEmpty() && startDetached(launcher, launcherArguments(*gameService, text));
}
