#include "cli/ScanCommand.h"

#include "app/MasterScan.h"
#include "cli/AddressArgument.h"
#include "cli/Console.h"
#include "cli/JsonObject.h"
#include "cli/ServerReport.h"
#include "model/GameCatalogue.h"
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
    QStringLiteral("master"),
    QStringLiteral("Ask this master alone (default: the preferences', or the game's); tcp:// asks a TCP master "
                   "(cod4: CoD4x's)."),
    QStringLiteral("[udp://|tcp://]HOST:PORT"));
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
    parser.addPositionalArgument(QStringLiteral("GAME"), QStringLiteral("a game's id: cod, cod4, openarena, ..."));
}

int ScanCommand::run(const QCommandLineParser& parser)
{
    applyTimeout(parser);
    json = parser.isSet(jsonOption);
    const GameDescription& game = gameOf(parser);
    const std::optional<qint64> pace = numberOption(parser, paceOption, 1, fastestPace);
    const QList<MasterSource> masters = lookedUp(mastersToAsk(parser, game));
    if (masters.isEmpty())
        return NoMasterList;
    ScanSettings settings = MasterScan::settingsFor(game, masters);
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

QList<MasterToAsk> ScanCommand::mastersToAsk(const QCommandLineParser& parser, const GameDescription& game)
{
    const Preferences& store = Preferences::standard();
    AddressArgument master;
    if (parser.isSet(masterOption)) {
        const auto parsed = AddressArgument::parse(parser.value(masterOption), AddressArgument::Schemes::Allowed);
        if (const QString* problem = std::get_if<QString>(&parsed))
            throw Refusal{QStringLiteral("--master: ") + *problem};
        master = std::get<AddressArgument>(parsed);
    } else {
        const QList<MasterToAsk> masters = GameMasters::mastersToAsk(game, store);
        if (masters.isEmpty())
            Console::error(QStringLiteral("zorvel scan: the preferences name no usable %1 master\n").arg(game.name));
        return masters;
    }
    const auto transport = master.transport == AddressArgument::Transport::Tcp ? MasterDescription::Transport::Tcp
                                                                                : MasterDescription::Transport::Udp;
    const std::optional<MasterToAsk> asked = GameMasters::masterAt(game, transport, master.host, master.port, store);
    if (!asked)
        throw Refusal{QStringLiteral("--master: %1 has no TCP masters; give udp://HOST:PORT").arg(game.id)};
    return {*asked};
}

// A host that has no address is told, and its master left out.
QList<MasterSource> ScanCommand::lookedUp(const QList<MasterToAsk>& masters)
{
    QList<MasterSource> found;
    for (const MasterToAsk& master : masters) {
        if (const std::optional<quint32> ip = ServerAddress::ipOfDottedDecimal(MasterScan::getIpFromString(master.host))) {
            found.append(master.source);
            found.last().address.ip = *ip;
        } else {
            Console::error(QStringLiteral("zorvel scan: the master host \"%1\" was not found\n").arg(master.host));
        }
    }
    return found;
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
            [this, queued](qsizetype, const MasterOutcome& outcome) {
                queued([this, outcome] { masterOutcomes.append(outcome); });
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

QByteArray ScanCommand::mastersJson() const
{
    QList<QByteArray> objects;
    for (const MasterOutcome& outcome : masterOutcomes)
        objects.append(JsonObject().addText("master", outcome.master).addText("outcome", outcome.text()).json());
    return JsonObject::array(objects);
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
                                             .addJson("masters", mastersJson())
                                             .json()
                                         + '\n'));
    } else {
        Console::out(ServerReport::table(servers, ServerReport::Rules::Left));
        for (const MasterOutcome& outcome : std::as_const(masterOutcomes)) {
            if (outcome.kind == MasterOutcome::Kind::MayBeIncomplete)
                Console::error(QStringLiteral("zorvel scan: %1: %2\n").arg(outcome.master, outcome.text()));
        }
    }
    if (masterListedNothing)
        Console::error(QStringLiteral("zorvel scan: the master sent no list\n"));
    return masterListedNothing ? NoMasterList : Success;
}
