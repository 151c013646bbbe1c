#include "cli/FavouritesCommand.h"

#include "app/FavouritesStore.h"
#include "cli/QueryCommand.h"
#include "platform/Preferences.h"

QString FavouritesCommand::usage() const
{
    return QStringLiteral("zorvel favourites [--json] [--timeout MS] [--rules]");
}

QString FavouritesCommand::summary() const
{
    return QStringLiteral("Refresh the stored favourites (nothing is written) and print them as query does.");
}

void FavouritesCommand::describe(QCommandLineParser& parser) const
{
    parser.addOptions({jsonOption, timeoutOption, rulesOption});
}

int FavouritesCommand::run(const QCommandLineParser& parser)
{
    applyTimeout(parser);
    if (!parser.positionalArguments().isEmpty())
        throw Refusal{QStringLiteral("favourites takes no argument")};
    return QueryCommand::report(ServerQueries::run(storedFavourites()), parser);
}

QList<ServerQueries::Target> FavouritesCommand::storedFavourites()
{
    const QByteArray preset = Preferences::standard().registeredDefaultForKey(QStringLiteral("myServers")).toByteArray();
    QList<ServerQueries::Target> targets;
    for (const CodServerPtr& favourite : FavouritesStore::read(preset).servers) {
        const CodServerPtr record = CodServer::create();
        record->setServerName(favourite->serverName());
        // A name the user typed stays the favourite's name, as in the window.
        record->setServerNameTyped(favourite->serverNameTyped());
        record->setServerIp(favourite->serverIp());
        targets.append({favourite->serverIp(), std::nullopt, record});
    }
    return targets;
}
