#include "cli/CommandLine.h"

#include "app/RegisteredSettings.h"
#include "cli/Console.h"
#include "cli/ExporterCommand.h"
#include "cli/FavouritesCommand.h"
#include "cli/GamesCommand.h"
#include "cli/QueryCommand.h"
#include "cli/ScanCommand.h"
#include "platform/Preferences.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

namespace {

const QString helpCommand = QStringLiteral("help");

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<QueryCommand>());
    commands.push_back(std::make_unique<ScanCommand>());
    commands.push_back(std::make_unique<FavouritesCommand>());
    commands.push_back(std::make_unique<GamesCommand>());
    commands.push_back(std::make_unique<ExporterCommand>());
    return commands;
}

std::unique_ptr<Command> commandNamed(const QString& name)
{
    for (std::unique_ptr<Command>& command : allCommands()) {
        if (command->name() == name)
            return std::move(command);
    }
    return nullptr;
}

bool environmentHas(const char* name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

void describe(const Command& command, QCommandLineParser& parser)
{
    parser.addHelpOption();
    command.describe(parser);
}

int refuse(const Command& command, const QString& problem)
{
    Console::error(QStringLiteral("zorvel %1: %2\nUsage: %3\n").arg(command.name(), problem, command.usage()));
    return Command::UsageError;
}

// "zorvel help" lists the commands, "zorvel help COMMAND" describes one.
int showHelp(const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        Console::out(CommandLine::commandsHelp().toUtf8());
        return Command::Success;
    }
    const std::unique_ptr<Command> command = commandNamed(arguments.constFirst());
    if (!command || arguments.size() > 1) {
        Console::error(QStringLiteral("zorvel help: no command \"%1\"\nUsage: zorvel help COMMAND\n")
                           .arg(arguments.join(u' ')));
        return Command::UsageError;
    }
    QCommandLineParser parser;
    describe(*command, parser);
    Console::out(command->help(parser).toUtf8());
    return Command::Success;
}

int runCommand(Command& command, const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(command, parser);
    if (!parser.parse(arguments))
        return refuse(command, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        Console::out(command.help(parser).toUtf8());
        return Command::Success;
    }
    try {
        return command.run(parser);
    } catch (const Command::Refusal& refusal) {
        return refuse(command, refusal.problem);
    }
}

}  // namespace

bool CommandLine::namesCommand(int argc, char** argv)
{
    if (argc < 2)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    return first == helpCommand || commandNamed(first) != nullptr;
}

int CommandLine::run(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Preferences::installStandard(
        std::make_unique<Preferences>(Preferences::defaultFilePath(), Preferences::Access::ReadOnly));
    RegisteredSettings::registerWithStandardStore();
    QStringList arguments = QCoreApplication::arguments();
    const QString name = arguments.takeAt(1);
    if (name == helpCommand)
        return showHelp(arguments.mid(1));
    const std::unique_ptr<Command> command = commandNamed(name);
    return runCommand(*command, arguments);
}

QString CommandLine::commandsHelp()
{
    QString text = QStringLiteral("Commands (zorvel help COMMAND describes one):\n");
    for (const std::unique_ptr<Command>& command : allCommands())
        text += QStringLiteral("  %1  %2\n").arg(command->name().leftJustified(10), command->summary());
    return text;
}

std::optional<QString> CommandLine::missingDisplay(int argc, char** argv)
{
    if (environmentHas("DISPLAY") || environmentHas("WAYLAND_DISPLAY") || environmentHas("QT_QPA_PLATFORM"))
        return std::nullopt;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform" || argument.startsWith("-platform=")
            || argument.startsWith("--platform="))
            return std::nullopt;
    }
    return QStringLiteral("no display: set DISPLAY, or use a command such as `zorvel query`");
}
