#include "cli/ServerReport.h"

#include "cli/JsonObject.h"
#include "platform/TextValue.h"

#include <algorithm>

namespace {

const QString unknown = QStringLiteral("-");

QString printable(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return shown;
}

QString orUnknown(const std::optional<QString>& text)
{
    return text ? printable(*text) : unknown;
}

QString orUnknown(const std::optional<qint64>& number)
{
    return number ? QString::number(*number) : unknown;
}

QByteArray alignedRows(const QList<QStringList>& rows)
{
    QList<qsizetype> widths;
    for (const QStringList& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (qsizetype column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row.at(column).size());
    }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype column = 0; column < row.size(); ++column)
            line += column + 1 < row.size() ? row.at(column).leftJustified(widths[column] + 2) : row.at(column);
        text += line + u'\n';
    }
    return text.toUtf8();
}

}  // namespace

QByteArray ServerReport::jsonLine(const QueriedServer& server, Rules rules)
{
    const CodServer& record = *server.record();
    JsonObject line;
    line.addText("address", server.address())
        .addText("game", server.game())
        .addBoolean("up", server.isUp())
        .addText("error", server.error())
        .addInteger("ping_ms", server.pingMilliseconds())
        .addText("name", server.name())
        .addText("name_raw", server.rawName())
        .addText("map", server.map())
        .addText("gametype", server.gametype())
        .addInteger("players", server.players())
        .addInteger("max_players", server.maxPlayers())
        .addBoolean("password", server.password())
        .addBoolean("punkbuster", server.punkBuster())
        .addText("version", server.version())
        .addJson("player_list", server.isUp() ? playerList(record) : "null");
    if (rules == Rules::Included)
        line.addJson("rules", rulesObject(record));
    return line.json() + '\n';
}

QByteArray ServerReport::playerList(const CodServer& server)
{
    QList<QByteArray> players;
    for (const CodPlayerPtr& player : server.serverPlayers()) {
        const QString raw = player->colouredName().isEmpty() ? player->playerName() : player->colouredName();
        players.append(JsonObject()
                           .addText("name", player->playerName())
                           .addText("name_raw", raw)
                           .addInteger("score", TextValue::integerValue(player->playerScore()))
                           .addInteger("ping", TextValue::integerValue(player->playerPing()))
                           .json());
    }
    return JsonObject::array(players);
}

// A key that comes twice keeps its first value, as the status fields do.
QByteArray ServerReport::rulesObject(const CodServer& server)
{
    JsonObject rules;
    QStringList seen;
    for (const auto& [key, value] : server.serverRules()) {
        if (seen.contains(key))
            continue;
        seen.append(key);
        rules.addText(key, value);
    }
    return rules.json();
}

QByteArray ServerReport::table(const QList<QueriedServer>& servers, Rules rules)
{
    QList<QStringList> rows = {{"ADDRESS", "NAME", "GAME", "MAP", "GAMETYPE", "PLAYERS", "PING"}};
    for (const QueriedServer& server : servers)
        rows.append(tableRow(server));
    QByteArray text = alignedRows(rows);
    if (rules == Rules::Left)
        return text;
    for (const QueriedServer& server : servers) {
        text += "\n" + printable(server.address()).toUtf8() + "\n";
        for (const auto& [key, value] : server.record()->serverRules())
            text += "  " + printable(key).toUtf8() + " = " + printable(value).toUtf8() + "\n";
    }
    return text;
}

QStringList ServerReport::tableRow(const QueriedServer& server)
{
    if (!server.isUp())
        return {printable(server.address()), orUnknown(server.name()), "(" + server.error().value_or(QString()) + ")"};
    const std::optional<qint64> ping = server.pingMilliseconds();
    return {
        printable(server.address()),
        orUnknown(server.name()),
        orUnknown(server.game()),
        orUnknown(server.map()),
        orUnknown(server.gametype()),
        orUnknown(server.players()) + u'/' + orUnknown(server.maxPlayers()),
        ping ? QStringLiteral("%1 ms").arg(*ping) : unknown,
    };
}
