#pragma once

#include "model/CodServer.h"

#include <QList>
#include <QString>
#include <QVariant>

// The columns of the server finder's table, named by identifier: what a cell shows
// and how a column orders the servers.
//
//   "ping"                the ping time: " 45 ms", or "--- ms"
//   "players"             "%i/%@": the number of players and the max-clients text
//   "serverFriendlyFire"  "Off" (0), "On" (1) or "Reflect" (any other value)
//   "serverPassActive", "serverPunkBuster", "serverKillCam", "serverPure"
//                         the integer value of the text, as a number
//   any other             the record's text field of that name, unchanged
namespace ServerColumns {

QVariant objectValue(const CodServer& server, const QString& identifier);

// Sorts the servers by the column, keeping the order of equal ones. Numeric
// columns (the ping, the players and the number columns) compare by value, a
// server whose ping is unknown after every answered one; the text columns compare
// without regard to case.
void sortServers(QList<CodServerPtr>& servers, const QString& identifier, Qt::SortOrder order);

}  // namespace ServerColumns
