#include "finders/FavoritePlayers.h"

#include "platform/Alerts.h"
#include "platform/Preferences.h"

namespace {

const QString favoritePlayersKey = QStringLiteral("Favorite players");

}  // namespace

namespace FavoritePlayers {

QStringList stored()
{
    return Preferences::standard().stringListForKey(favoritePlayersKey);
}

bool store(const QStringList& names)
{
    if (Preferences::standard().setObject(names, favoritePlayersKey))
        return true;
    Alerts::current().reportUnstored(QStringLiteral("Favorite players"), QStringLiteral("The favourite players"));
    return false;
}

}  // namespace FavoritePlayers
