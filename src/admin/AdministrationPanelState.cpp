#include "admin/AdministrationPanelState.h"

#include "model/CodServer.h"
#include "model/GameCatalogue.h"
#include "model/GameKind.h"

namespace {

// A game of the catalogue that has launchers is one Zorvel starts, once found.
QString goToUnavailableReason(const CodServer& server)
{
    const QString gameName = server.serverGameName();
    const GameDescription* game = GameCatalogue::standard().gameOf(gameName, server.serverRules());
    if (game && !game->launchers.isEmpty())
        return QStringLiteral("No launcher for %1 found on PATH: see the README").arg(game->name);
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
    const GameDescription* game = GameCatalogue::standard().gameOf(selected.serverGameName(), selected.serverRules());
    banOffered = !game || !game->admin.ban.isEmpty();
    const int commError = selected.commError();
    showsMapAndGametype = commError != CodServer::NeverContacted && commError != CodServer::Unreachable;
}
