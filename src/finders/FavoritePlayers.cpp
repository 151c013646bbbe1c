#include "finders/FavoritePlayers.h"

#include "app/Preferences.h"

namespace {

const QString favoritePlayersKey = QStringLiteral("Favorite players");

}  // namespace

namespace FavoritePlayers {

QStringList stored()
{
    return namesOf(Preferences::standard().objectForKey(favoritePlayersKey));
}

void store(const QStringList& names)
{
    Preferences::standard().setObject(names, favoritePlayersKey);
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
