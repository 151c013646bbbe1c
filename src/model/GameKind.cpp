#include "model/GameKind.h"

#include <QHash>

GameKind gameKindOf(const QString& serverGameName)
{
    static const QHash<QString, GameKind> kinds = {
        {QStringLiteral("Call of Duty"), GameKind::CoD},
        {QStringLiteral("CoD:United Offensive"), GameKind::UO},
        {QStringLiteral("Call of Duty 2"), GameKind::CoD2},
        {QStringLiteral("Call of Duty 4"), GameKind::CoD4},
        {QStringLiteral("q3ut4"), GameKind::UrbanTerror},
        {QStringLiteral("etpro"), GameKind::ET},
        {QStringLiteral("etpub"), GameKind::ET},
        {QStringLiteral("noquarter"), GameKind::ET},
        {QStringLiteral("UT2004"), GameKind::UT2004},
    };
    return kinds.value(serverGameName, GameKind::Unknown);
}

QString gameIdOf(GameKind kind)
{
    switch (kind) {
    case GameKind::CoD: return QStringLiteral("cod");
    case GameKind::UO: return QStringLiteral("uo");
    case GameKind::CoD2: return QStringLiteral("cod2");
    case GameKind::CoD4: return QStringLiteral("cod4");
    case GameKind::UrbanTerror: return QStringLiteral("urt");
    case GameKind::ET: return QStringLiteral("et");
    case GameKind::UT2004: return QStringLiteral("ut2004");
    case GameKind::Unknown: break;
    }
    return {};
}
