#include "cli/QueryCommand.h"

#include "cli/AddressArgument.h"
#include "cli/Console.h"
#include "cli/ServerQueries.h"
#include "cli/ServerReport.h"

QString QueryCommand::usage() const
{
    return QStringLiteral("zorvel query ADDRESS... [--json] [--timeout MS] [--rules]");
}

QString QueryCommand::summary() const
{
    return QStringLiteral("Query each server once (a.b.c.d:port or host:port), all at the same time.");
}

void QueryCommand::describe(QCommandLineParser& parser) const
{
    parser.addOptions({jsonOption, timeoutOption, rulesOption});
    parser.addPositionalArgument(QStringLiteral("ADDRESS"), QStringLiteral("a.b.c.d:port or host:port"),
                                 QStringLiteral("ADDRESS..."));
}

int QueryCommand::run(const QCommandLineParser& parser)
{
    applyTimeout(parser);
    const QStringList addresses = parser.positionalArguments();
    if (addresses.isEmpty())
        throw Refusal{QStringLiteral("no ADDRESS given")};
    QList<ServerQueries::Target> targets;
    for (const QString& text : addresses) {
        const auto parsed = AddressArgument::parse(text, AddressArgument::Schemes::Refused);
        if (const QString* problem = std::get_if<QString>(&parsed))
            throw Refusal{*problem};
        targets.append({text, std::get<AddressArgument>(parsed), CodServer::create()});
    }
    return report(ServerQueries::run(targets), parser);
}

int QueryCommand::report(const QList<QueriedServer>& servers, const QCommandLineParser& parser)
{
    const auto rules = parser.isSet(rulesOption) ? ServerReport::Rules::Included : ServerReport::Rules::Left;
    if (parser.isSet(jsonOption)) {
        for (const QueriedServer& server : servers)
            Console::out(ServerReport::jsonLine(server, rules));
    } else {
        Console::out(ServerReport::table(servers, rules));
    }
    const bool allUp = std::all_of(servers.cbegin(), servers.cend(), [](const QueriedServer& s) { return s.isUp(); });
    return allUp ? Success : SomeFailed;
}
