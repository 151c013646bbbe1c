#pragma once

#include <QString>

// The identifiers by which Zorvel asks the desktop for a game application: a game's id
// in the game catalogue, whose launchers are the executable names looked for. These
// are the games the application names in code; Call of Duty and United Offensive are
// joined through the services their applications offer, named here too.
namespace GameApplications {

inline const QString callOfDuty = QStringLiteral("cod");
inline const QString unitedOffensive = QStringLiteral("uo");
inline const QString callOfDuty2 = QStringLiteral("cod2");
inline const QString callOfDuty4 = QStringLiteral("cod4");
inline const QString urbanTerror = QStringLiteral("urt");

// A service takes an address to connect to; a command service takes console
// commands, one a line.
inline const QString codConnectService = QStringLiteral("Call of Duty MP/Connect To Server");
inline const QString codCommandService = QStringLiteral("Call of Duty MP/Perform Command");
inline const QString uoConnectService = QStringLiteral("CoD United Offensive MP/Connect To Server");
inline const QString uoCommandService = QStringLiteral("CoD United Offensive MP/Perform Command");

}  // namespace GameApplications
