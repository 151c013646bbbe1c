#pragma once

#include "finders/ColumnOrder.h"
#include "finders/ServerFacts.h"
#include "model/CodServer.h"

#include <QList>
#include <QString>
#include <QVariant>

// The columns of the server finder's table, named by identifier: the text a cell
// shows (the setting columns show their state instead, as SettingColumns tells) and
// how a column orders the servers.
//
//   "ping"     the ping time: " 45 ms", or "--- ms"
//   "players"  "%i/%@": the number of players and the max-clients text
//   any other  the record's text field of that name, unchanged
namespace ServerColumns {

QVariant objectValue(const CodServer& server, const QString& identifier);

// What the server holds in the column, as the column orders it. Numeric columns
// (the ping, the players and the setting columns, whose texts read as numbers)
// order by value, a server whose ping is unknown after every answered one; the text
// columns without regard to case.
ColumnOrder::Key sortKey(const CodServer& server, const QString& identifier);
// The same, with the name and the number of players read from the server's facts,
// taken with its list, rather than from its record.
ColumnOrder::Key sortKey(const CodServer& server, const ServerFacts& facts, const QString& identifier);

}  // namespace ServerColumns
