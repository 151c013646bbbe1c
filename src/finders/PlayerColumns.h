#pragma once

#include "finders/PlayerFound.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// The text columns of the player finder's table, named by identifier:
//
//   "playerName"   the player's colour-free name      "playerScore"  its score
//   "serverName"   the server's name                   "serverIP"     its address
//   "serverPing"   the server's ping time (" 45 ms")   "lastUpdate"   the age of its
//                                                      last answer ("12 s", "> 3 mn")
//
// Any other identifier shows nothing.
namespace PlayerColumns {

QVariant objectValue(const PlayerFound& result, const QString& identifier, const QDateTime& now);

// An age in seconds: "%.0f s" below a minute, "> %.0f mn" in minutes from a minute on.
QString ageText(double seconds);

}  // namespace PlayerColumns
