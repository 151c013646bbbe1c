#pragma once

#include "finders/ColumnOrder.h"
#include "finders/PlayerFound.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// The text columns of the player finder's table, named by identifier:
//
//   "playerName"   the player's colour-free name      "playerScore"  its score
//   "serverName"   the server's name                   "serverIP"     its address
//   "serverPing"   the server's ping time (" 45 ms")   "lastUpdate"   the age of its
//                                                      last answer ("12 s", "> 3 min")
//
// Any other identifier shows nothing.
namespace PlayerColumns {

QVariant objectValue(const PlayerFound& result, const QString& identifier, const QDateTime& now);

// What the result holds in the column, as the column orders it: the server's columns
// as the server finder orders them, the score by value, the age from the most recent
// answer on (a server that never answered last), the game icon by the game's name
// and the player's name without regard to case.
ColumnOrder::Key sortKey(const PlayerFound& result, const QString& identifier, const QDateTime& now);
// Sorts the results by the column, keeping the order of equal ones.
void sortResults(QList<PlayerFound>& results, const QString& identifier, Qt::SortOrder order, const QDateTime& now);

// An age in seconds: "%.0f s" below a minute, "> %.0f min" in minutes from a minute on.
QString ageText(double seconds);

}  // namespace PlayerColumns
