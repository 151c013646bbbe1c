#pragma once

#include "cli/QueriedServer.h"

#include <QByteArray>
#include <QList>

// How the commands print the servers they queried: one JSON object a line, or a
// table for people. Output only: the text is UTF-8.
class ServerReport {
public:
    enum class Rules { Left, Included };

    // The JSON Lines form: one object a server, every key present, in a fixed order.
    static QByteArray jsonLine(const QueriedServer& server, Rules rules);
    // The table: address, name, game, map, gametype, players/max and ping, columns
    // aligned; with the rules, each server's keys and values under its line. Control
    // characters of the server's texts are shown as "?": they would drive the terminal.
    static QByteArray table(const QList<QueriedServer>& servers, Rules rules);

private:
    static QByteArray playerList(const CodServer& server);
    static QByteArray rulesObject(const CodServer& server);
    static QStringList tableRow(const QueriedServer& server);
};
