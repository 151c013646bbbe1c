#pragma once

#include <QStringList>

// The player names and clan tags the user keeps for the player finder, stored under
// "Favorite players" as a list of texts in the user's order. A missing key, or a
// stored value that is not a list of texts, means no names.
namespace FavoritePlayers {

QStringList stored();
// Stores the names; false, after an alert, when they could not be written.
bool store(const QStringList& names);

}  // namespace FavoritePlayers
