#include "admin/RotationCommand.h"

namespace RotationCommand {

namespace {

const QString rotationVariable = QStringLiteral("set sv_mapRotationCurrent \"");

}  // namespace

QString emptyingCommand()
{
    return rotationVariable + u'"';
}

QList<MapForRotation> sentEntries(const QList<MapForRotation>& rotation, const QStringList& serverMaps,
                                  const QStringList& offeredGametypes, const QString& fallbackGametype)
{
    QList<MapForRotation> entries;
    for (const MapForRotation& entry : rotation) {
        if (!entry.isOnServer(serverMaps))
            continue;
        const bool offered = offeredGametypes.contains(entry.gametype());
        entries.append({entry.mapName(), offered ? entry.gametype() : fallbackGametype});
    }
    return entries;
}

QString rotationCommand(const QList<MapForRotation>& entries)
{
    QString command = rotationVariable;
    for (const MapForRotation& entry : entries)
        command += QStringLiteral("gametype %1 map %2 ").arg(entry.gametype(), entry.mapName());
    return command + u'"';
}

}  // namespace RotationCommand
