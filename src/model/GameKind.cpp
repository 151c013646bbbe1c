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
