#include "cli/MetricsText.h"

#include <functional>

namespace {

struct Family {
    const char* name;
    const char* help;
    // The server's sample, or nothing when it has none.
    std::function<std::optional<double>(const QueriedServer&)> value;
};

std::optional<double> real(const std::optional<qint64>& number)
{
    return number ? std::optional<double>(double(*number)) : std::nullopt;
}

QByteArray header(const char* name, const char* help)
{
    return QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + " gauge\n";
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 12);
}

}  // namespace

QByteArray MetricsText::of(const QList<QueriedServer>& servers, const QHash<QString, QString>& games,
                           double scrapeSeconds)
{
    const auto labels = [&games](const QueriedServer& server) {
        const QString game = server.game().value_or(games.value(server.address(), QStringLiteral("unknown")));
        return "address=" + labelValue(server.address()) + ",game=" + labelValue(game);
    };
    const Family families[] = {
        {"zorvel_server_up", "Whether the server answered its last query.",
         [](const QueriedServer& s) { return std::optional<double>(s.isUp() ? 1 : 0); }},
        {"zorvel_server_players", "Players on the server.", [](const QueriedServer& s) { return real(s.players()); }},
        {"zorvel_server_max_players", "Player slots of the server.",
         [](const QueriedServer& s) { return real(s.maxPlayers()); }},
        {"zorvel_server_ping_seconds", "Round trip of the last status query.",
         [](const QueriedServer& s) {
             const std::optional<qint64> ms = s.pingMilliseconds();
             return ms ? std::optional<double>(double(*ms) / 1000.0) : std::nullopt;
         }},
    };
    QByteArray text;
    for (const Family& family : families) {
        text += header(family.name, family.help);
        for (const QueriedServer& server : servers) {
            if (const std::optional<double> value = family.value(server))
                text += QByteArray(family.name) + '{' + labels(server) + "} " + number(*value) + '\n';
        }
    }
    text += header("zorvel_server_info", "The server's map, gametype and name (colour codes removed); always 1.");
    for (const QueriedServer& server : servers) {
        if (!server.isUp())
            continue;
        text += "zorvel_server_info{" + labels(server) + ",map=" + labelValue(server.map().value_or(QString()))
            + ",gametype=" + labelValue(server.gametype().value_or(QString()))
            + ",name=" + labelValue(server.name().value_or(QString())) + "} 1\n";
    }
    text += header("zorvel_scrape_duration_seconds", "How long the last refresh of every favourite took.");
    text += "zorvel_scrape_duration_seconds " + number(scrapeSeconds) + '\n';
    return text;
}

QByteArray MetricsText::labelValue(const QString& text)
{
    QByteArray escaped = text.toUtf8();
    escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
    return '"' + escaped + '"';
}
