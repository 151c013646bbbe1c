#include "cli/GamesCommand.h"

#include "cli/Console.h"
#include "cli/JsonObject.h"
#include "net/QuakeProtocol.h"
#include "net/ScannedGames.h"
#include "platform/Preferences.h"

QString GamesCommand::usage() const
{
    return QStringLiteral("zorvel games [--json]");
}

QString GamesCommand::summary() const
{
    return QStringLiteral("List the games that scan knows, with their masters and protocols.");
}

void GamesCommand::describe(QCommandLineParser& parser) const
{
    parser.addOption(jsonOption);
}

int GamesCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        throw Refusal{QStringLiteral("games takes no argument")};
    const Preferences& store = Preferences::standard();
    for (const ScannedGame& game : ScannedGames::all()) {
        const QString master = store.stringForKey(game.hostKey) + u':' + store.stringForKey(game.portKey);
        const QString protocol = store.stringForKey(QuakeProtocol::masterProtocolKey(game.requestType));
        if (parser.isSet(jsonOption)) {
            Console::out(JsonObject()
                             .addText("game", game.id)
                             .addText("name", game.name)
                             .addText("master", master)
                             .addText("protocol", protocol)
                             .json()
                         + '\n');
        } else {
            Console::out(QStringLiteral("%1  %2  %3  protocol %4\n")
                             .arg(game.id.leftJustified(4), game.name.leftJustified(16), master, protocol)
                             .toUtf8());
        }
    }
    return Success;
}
