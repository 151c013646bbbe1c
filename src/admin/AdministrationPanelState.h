#pragma once

#include <QString>

class CodServer;

// Which server buttons the main window enables and how the administration drawer
// stands for the selected favourite. The drawer opens for every server whose rcon
// password the user has typed, except UT2004 servers, which have no remote console;
// it shows the current map and gametype once an exchange with the server worked.
class AdministrationPanelState {
public:
    // The state with no favourite selected: every server button off, drawer closed.
    AdministrationPanelState() = default;
    // `gameInstalled`: the server's game can be started on this machine.
    AdministrationPanelState(const CodServer& selected, bool gameInstalled);

    // Modify, delete and refresh.
    bool editButtonsEnabled = false;
    // The details sheet needs an exchange that worked.
    bool infoEnabled = false;
    bool goToEnabled = false;
    // Why Join is off, in one line for its tooltip; empty while it is on.
    QString goToUnavailableReason = QStringLiteral("No favourite server selected");
    bool drawerOpen = false;
    // The drawer offers Ban while the server's game has a ban command (a game the
    // catalogue does not describe is taken to have one).
    bool banOffered = false;
    // The map and gametype lists are filled (exchange worked or a console command
    // failed) rather than emptied (never contacted or unreachable).
    bool showsMapAndGametype = false;
};
