#include "finders/FavoritePlayers.h"

#include "platform/Alerts.h"
#include "platform/Preferences.h"

namespace {

const QString favoritePlayersKey = QStringLiteral("Favorite players");

}  // namespace

namespace FavoritePlayers {

QStringList stored()
{
    return namesOf(Preferences::standard().objectForKey(favoritePlayersKey));
}

bool store(const QStringList& names)
{
    if (Preferences::standard().setObject(names, favoritePlayersKey))
        return true;
    Alerts::current().reportUnstored(QStringLiteral("Favorite players"), QStringLiteral("The favourite players"));
    return false;
}

QStringList namesOf(const QVariant& storedValue)
{
    switch (storedValue.typeId()) {
    case QMetaType::QStringList:
        return storedValue.toStringList();
    case QMetaType::QString:
        return {storedValue.toString()};
    case QMetaType::QVariantList: {
        const QVariantList values = storedValue.toList();
        QStringList names;
        for (const QVariant& value : values) {
            if (value.typeId() != QMetaType::QString)
                return {};
            names.append(value.toString());
        }
        return names;
    }
    default:
        return {};
    }
}

}  // namespace FavoritePlayers
