#include "cli/ScanCommand.h"

#include "app/MasterScan.h"
#include "cli/AddressArgument.h"
#include "cli/Console.h"
#include "cli/JsonObject.h"
#include "cli/ServerReport.h"
#include "model/GameCatalogue.h"
#include "net/GameMasters.h"
#include "net/ScanEngine.h"
#include "platform/Preferences.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

QString count(int number)
{
    return QLocale(QLocale::English).toString(number);
}

}  // namespace

const QCommandLineOption ScanCommand::masterOption(
    QStringLiteral("master"), QStringLiteral("Ask this master alone (default: the preferences')."),
    QStringLiteral("[udp://]HOST:PORT"));
const QCommandLineOption ScanCommand::paceOption(
    QStringLiteral("pace"), QStringLiteral("Queries a second (default: the preferences' speed)."), QStringLiteral("N"));

QString ScanCommand::usage() const
{
    return QStringLiteral("zorvel scan GAME [--master HOST:PORT] [--pace N] [--timeout MS] [--json]");
}

QString ScanCommand::summary() const
{
    return QStringLiteral("Scan the master of GAME (zorvel games lists them) and print the servers that answered.");
}

void ScanCommand::describe(QCommandLineParser& parser) const
{
    parser.addOptions({masterOption, paceOption, timeoutOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("GAME"), QStringLiteral("a game id of zorvel games: cod, uo, cod2, cod4, urt, openarena…"));
}

int ScanCommand::run(const QCommandLineParser& parser)
{
    applyTimeout(parser);
    json = parser.isSet(jsonOption);
    const GameDescription& game = gameOf(parser);
    const std::optional<qint64> pace = numberOption(parser, paceOption, 1, fastestPace);
    const std::optional<MasterSource> master = masterOf(parser, game);
    if (!master)
        return NoMasterList;
    ScanSettings settings = MasterScan::settingsFor(*master);
    if (pace)
        settings.queriesPerSecond = static_cast<int>(*pace);
    return scan(settings);
}

const GameDescription& ScanCommand::gameOf(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1)
        throw Refusal{QStringLiteral("give one GAME")};
    const GameDescription* game = GameCatalogue::standard().find(arguments.constFirst());
    if (!game)
        throw Refusal{QStringLiteral("unknown game \"%1\" (zorvel games lists them)").arg(arguments.constFirst())};
    return *game;
}

// The first master the game asks, or the one of --master asked as that master is.
std::optional<MasterSource> ScanCommand::masterOf(const QCommandLineParser& parser, const GameDescription& game)
{
    const QList<MasterToAsk> masters = GameMasters::mastersToAsk(game, Preferences::standard());
    if (masters.isEmpty()) {
        Console::error(QStringLiteral("zorvel scan: the preferences name no usable %1 master\n").arg(game.name));
        return std::nullopt;
    }
    MasterSource source = masters.constFirst().source;
    AddressArgument master;
    master.host = masters.constFirst().host;
    master.port = source.address.port;
    if (parser.isSet(masterOption)) {
        const auto parsed = AddressArgument::parse(parser.value(masterOption), AddressArgument::Schemes::Allowed);
        if (const QString* problem = std::get_if<QString>(&parsed))
            throw Refusal{QStringLiteral("--master: ") + *problem};
        master = std::get<AddressArgument>(parsed);
        if (master.transport == AddressArgument::Transport::Tcp)
            throw Refusal{QStringLiteral("--master: TCP masters are not supported yet; give udp://HOST:PORT")};
        source.label = master.host + u':' + QString::number(master.port);
    }
    const std::optional<ServerAddress> address = master.resolve();
    if (!address) {
        Console::error(QStringLiteral("zorvel scan: the master host \"%1\" was not found\n").arg(master.host));
        return std::nullopt;
    }
    source.address = *address;
    return source;
}

int ScanCommand::scan(const ScanSettings& settings)
{
    wallClock.start();
    int status = NoMasterList;
    ScanEngine engine;
    {
        // The engine reports on its thread; the reports are handled here, in order.
        QObject here;
        const auto queued = [&here](std::function<void()> call) {
            QMetaObject::invokeMethod(&here, std::move(call), Qt::QueuedConnection);
        };
        engine.start(settings, {
            [this, queued](const CodServerPtr& server) { queued([this, server] { answered(server); }); },
            [this, queued](const ScanCounts& counts) { queued([this, counts] { progressed(counts); }); },
            [this, queued, &status](const ScanCounts& counts, bool masterListedNothing) {
                queued([this, counts, masterListedNothing, &status] {
                    status = finish(counts, masterListedNothing);
                    QCoreApplication::quit();
                });
            },
        });
        QCoreApplication::exec();
    }
    return status;
}

void ScanCommand::answered(const CodServerPtr& server)
{
    servers.append(QueriedServer(server->serverIp(), server));
    if (json)
        Console::out(ServerReport::jsonLine(servers.constLast(), ServerReport::Rules::Left));
}

void ScanCommand::progressed(const ScanCounts& counts) const
{
    if (Console::errorIsTerminal())
        Console::error(QStringLiteral("\r%1 of %2 queried, %3 answered")
                           .arg(count(counts.queried), count(counts.listed), count(counts.answered)));
}

int ScanCommand::finish(const ScanCounts& counts, bool masterListedNothing)
{
    progressed(counts);
    if (Console::errorIsTerminal())
        Console::error(QStringLiteral("\n"));
    if (json) {
        Console::error(QString::fromUtf8(JsonObject()
                                             .addInteger("listed", counts.listed)
                                             .addInteger("queried", counts.queried)
                                             .addInteger("answered", counts.answered)
                                             .addReal("wall_s", double(wallClock.elapsed()) / 1000.0)
                                             .json()
                                         + '\n'));
    } else {
        Console::out(ServerReport::table(servers, ServerReport::Rules::Left));
    }
    if (masterListedNothing)
        Console::error(QStringLiteral("zorvel scan: the master sent no list\n"));
    return masterListedNothing ? NoMasterList : Success;
}
