#pragma once

#include <QString>

// The identifiers by which Zorvel asks the desktop for a game application: one per
// game that Zorvel can start to join a server.
namespace GameApplications {

inline const QString callOfDuty = QStringLiteral("CallOfDuty");
inline const QString unitedOffensive = QStringLiteral("CallOfDutyUnitedOffensive");
inline const QString callOfDuty2 = QStringLiteral("CallOfDuty2");
inline const QString callOfDuty4 = QStringLiteral("CallOfDuty4");
inline const QString urbanTerror = QStringLiteral("UrbanTerror");

}  // namespace GameApplications
