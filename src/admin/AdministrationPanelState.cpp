#include "admin/AdministrationPanelState.h"

#include "model/CodServer.h"
#include "model/GameKind.h"

#include <optional>

namespace {

// The games Zorvel starts, as the README names them beside their launchers.
std::optional<QString> startedGameTitle(GameKind game)
{
    switch (game) {
    case GameKind::CoD: return QStringLiteral("Call of Duty");
    case GameKind::UO: return QStringLiteral("Call of Duty: United Offensive");
    case GameKind::CoD2: return QStringLiteral("Call of Duty 2");
    case GameKind::CoD4: return QStringLiteral("Call of Duty 4");
    case GameKind::UrbanTerror: return QStringLiteral("Urban Terror");
    case GameKind::ET:
    case GameKind::UT2004:
    case GameKind::Unknown: break;
    }
    return std::nullopt;
}

QString goToUnavailableReason(const CodServer& server)
{
    const QString gameName = server.serverGameName();
    if (const std::optional<QString> title = startedGameTitle(gameKindOf(gameName)))
        return QStringLiteral("No launcher for %1 found on PATH: see the README").arg(*title);
    if (gameName.isEmpty())
        return QStringLiteral("The server's game is not known until it answers a refresh");
    return QStringLiteral("Zorvel cannot start the game %1").arg(gameName);
}

}  // namespace

AdministrationPanelState::AdministrationPanelState(const CodServer& selected, bool gameInstalled)
    : editButtonsEnabled(true)
    , infoEnabled(selected.commError() == CodServer::Answered)
    , goToEnabled(gameInstalled)
    , goToUnavailableReason(gameInstalled ? QString() : ::goToUnavailableReason(selected))
    , drawerOpen(!selected.serverPass().isEmpty() && gameKindOf(selected.serverGameName()) != GameKind::UT2004)
{
    const int commError = selected.commError();
    showsMapAndGametype = commError != CodServer::NeverContacted && commError != CodServer::Unreachable;
}
