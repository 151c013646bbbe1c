#include "admin/AdministrationPanelState.h"

#include "model/CodServer.h"
#include "model/GameKind.h"

AdministrationPanelState::AdministrationPanelState(const CodServer& selected, bool gameInstalled)
    : editButtonsEnabled(true)
    , infoEnabled(selected.commError() == CodServer::Answered)
    , goToEnabled(gameInstalled)
    , drawerOpen(!selected.serverPass().isEmpty() && gameKindOf(selected.serverGameName()) != GameKind::UT2004)
{
    const int commError = selected.commError();
    showsMapAndGametype = commError != CodServer::NeverContacted && commError != CodServer::Unreachable;
}
