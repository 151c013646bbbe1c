#pragma once

#include "admin/MapForRotation.h"

#include <QList>
#include <QString>
#include <QStringList>

// The console commands that replace a server's map rotation: one that empties the
// current rotation, and the new rotation as a single command.
namespace RotationCommand {

// `set sv_mapRotationCurrent ""`
QString emptyingCommand();

// The entries that go to the server, in rotation order: those whose map the server
// has, each with its gametype when the server's game offers it and with the
// fallback gametype otherwise.
QList<MapForRotation> sentEntries(const QList<MapForRotation>& rotation, const QStringList& serverMaps,
                                  const QStringList& offeredGametypes, const QString& fallbackGametype);

// `set sv_mapRotationCurrent "gametype <g> map <m> ... "` over the entries.
QString rotationCommand(const QList<MapForRotation>& entries);

}  // namespace RotationCommand
