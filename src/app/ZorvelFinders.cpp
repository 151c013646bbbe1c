// The controller's side of the finders: what they ask of it through FinderHost, and
// opening them.
#include "app/Zorvel.h"

void Zorvel::connectFinders()
{
    connect(this, &Zorvel::masterScanStarted, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterScanStopAsked, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterListsChanged, &finders, &Finders::handMasterListsToFinders);
}

void Zorvel::showFindServerWindow()
{
    finders.showFindServerWindow();
}

void Zorvel::showFindPlayerOrClanPanel()
{
    finders.showFindPlayerOrClanPanel();
}

FinderHost::MasterLists Zorvel::masterLists() const
{
    return {activeCodServers(), activeUOServers(), activeCod2Servers(), activeCod4Servers()};
}

void Zorvel::scanServers(int tag)
{
    startMasterScan(*masterScans()[size_t(tag)]);
}

void Zorvel::scanServersStop(int tag)
{
    stopMasterScan(*masterScans()[size_t(tag)]);
}

void Zorvel::joinServerWithoutPassword(const CodServer& server) const
{
    server.joinServerWithPass(QString(), installedGames());
}
