#pragma once

#include <QString>

// The identifiers by which Zorvel asks the desktop for a game application: one per
// game that Zorvel can start to join a server. Call of Duty and United Offensive are
// joined through the services their applications offer, named here too.
namespace GameApplications {

inline const QString callOfDuty = QStringLiteral("CallOfDuty");
inline const QString unitedOffensive = QStringLiteral("CallOfDutyUnitedOffensive");
inline const QString callOfDuty2 = QStringLiteral("CallOfDuty2");
inline const QString callOfDuty4 = QStringLiteral("CallOfDuty4");
inline const QString urbanTerror = QStringLiteral("UrbanTerror");

// A service takes an address to connect to; a command service takes console
// commands, one a line.
inline const QString codConnectService = QStringLiteral("Call of Duty MP/Connect To Server");
inline const QString codCommandService = QStringLiteral("Call of Duty MP/Perform Command");
inline const QString uoConnectService = QStringLiteral("CoD United Offensive MP/Connect To Server");
inline const QString uoCommandService = QStringLiteral("CoD United Offensive MP/Perform Command");

}  // namespace GameApplications
