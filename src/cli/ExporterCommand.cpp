#include "cli/ExporterCommand.h"

#include "cli/AddressArgument.h"
#include "cli/Console.h"
#include "cli/FavouritesCommand.h"
#include "cli/MetricsText.h"
#include "cli/ServerQueries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QTimer>

namespace {

const QString defaultListen = QStringLiteral("127.0.0.1:9731");

}  // namespace

const QCommandLineOption ExporterCommand::listenOption(
    QStringLiteral("listen"), QStringLiteral("Where to answer (default: %1).").arg(defaultListen),
    QStringLiteral("ADDRESS:PORT"), defaultListen);
const QCommandLineOption ExporterCommand::intervalOption(
    QStringLiteral("interval"), QStringLiteral("Refresh the favourites this often (2 or more, default: 30)."),
    QStringLiteral("SECONDS"));

ExporterCommand::~ExporterCommand() = default;

QString ExporterCommand::usage() const
{
    return QStringLiteral("zorvel exporter [--listen ADDRESS:PORT] [--interval SECONDS]");
}

QString ExporterCommand::summary() const
{
    return QStringLiteral("Serve the stored favourites' state at /metrics in the Prometheus text format.");
}

void ExporterCommand::describe(QCommandLineParser& parser) const
{
    parser.addOptions({listenOption, intervalOption});
}

int ExporterCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        throw Refusal{QStringLiteral("exporter takes no argument")};
    const ServerAddress listen = listenAddress(parser);
    const qint64 interval =
        numberOption(parser, intervalOption, shortestInterval, longestInterval).value_or(defaultInterval);
    QHttpServer server;
    server.route(QStringLiteral("/metrics"), [this] {
        return QHttpServerResponse(MetricsText::contentType, metrics());
    });
    if (server.listen(QHostAddress(listen.ip), listen.port) == 0) {
        Console::error(QStringLiteral("zorvel exporter: cannot listen on %1\n").arg(listen.text()));
        return SomeFailed;
    }
    Console::error(QStringLiteral("zorvel exporter: serving http://%1/metrics\n").arg(listen.text()));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &results, [this] { refresh(); });
    timer.start(std::chrono::seconds(interval));
    refresh();
    return QCoreApplication::exec();
}

ServerAddress ExporterCommand::listenAddress(const QCommandLineParser& parser)
{
    const auto parsed = AddressArgument::parse(parser.value(listenOption), AddressArgument::Schemes::Refused);
    const AddressArgument* address = std::get_if<AddressArgument>(&parsed);
    if (!address || !address->dotted)
        throw Refusal{QStringLiteral("--listen takes a.b.c.d:port, not \"%1\"").arg(parser.value(listenOption))};
    return *address->resolve();
}

void ExporterCommand::refresh()
{
    if (refreshing.exchange(true))
        return;
    if (refreshThread.joinable())
        refreshThread.join();
    refreshThread = std::jthread([this] {
        QElapsedTimer clock;
        clock.start();
        // Read again each time: the window may have changed the favourites.
        const QList<QueriedServer> servers = ServerQueries::run(FavouritesCommand::storedFavourites());
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        QMetaObject::invokeMethod(&results, [this, servers, seconds] { refreshEnded(servers, seconds); },
                                  Qt::QueuedConnection);
    });
}

void ExporterCommand::refreshEnded(const QList<QueriedServer>& servers, double seconds)
{
    lastServers = servers;
    lastDuration = seconds;
    for (const QueriedServer& server : servers) {
        if (const std::optional<QString> game = server.game())
            knownGames.insert(server.address(), *game);
    }
    refreshing = false;
}

QByteArray ExporterCommand::metrics() const
{
    return MetricsText::of(lastServers, knownGames, lastDuration);
}
