#pragma once

#include <QSqlDatabase>

// The tables of the history database and the steps that bring an older database to
// them. The version a database is at is its "user_version"; each step raises it by
// one inside a transaction, so a step that fails leaves the database at the version
// before it.
//
// Version 1: servers (address, game), answers (time, name, map, gametype, players,
// max players, ping) and stays (a player's name, raw name, first and last time seen).
// Version 2: where each answer and stay came from (source), which decides how long
// it is kept, and an index of stays by their last time seen.
namespace HistorySchema {

constexpr int currentVersion = 2;

// The database's version; -1 when it cannot be read.
int versionOf(QSqlDatabase& database);
// Brings the database up to the version (currentVersion by default); false, with
// the database at its last whole version, when a step failed or the database is of
// a newer version than this program knows.
bool migrate(QSqlDatabase& database, int toVersion = currentVersion);
// Whether the database's tables have the columns, keys and unique indexes of this
// version's: a file of the current version whose tables were changed by hand or by
// damage that SQLite does not see would take answers and never give them back.
bool hasCurrentTables(QSqlDatabase& database);

}  // namespace HistorySchema
