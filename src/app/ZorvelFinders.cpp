// The controller's side of the finders: what they ask of it through FinderHost, and
// opening them.
#include "app/Zorvel.h"

#include "finders/MasterGames.h"

#include <array>

namespace {

// The scan operations of the four games, by the finders' game tag.
struct MasterGame {
    void (Zorvel::*scan)();
    void (Zorvel::*stop)();
};

const std::array<MasterGame, MasterGames::count> masterGames = {{
    {&Zorvel::scanCodServers, &Zorvel::scanCodServersStop},
    {&Zorvel::scanUOServers, &Zorvel::scanUOServersStop},
    {&Zorvel::scanCod2Servers, &Zorvel::scanCod2ServersStop},
    {&Zorvel::scanCod4Servers, &Zorvel::scanCod4ServersStop},
}};

}  // namespace

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
    (this->*masterGames[size_t(tag)].scan)();
}

void Zorvel::scanServersStop(int tag)
{
    (this->*masterGames[size_t(tag)].stop)();
}

void Zorvel::joinServerWithoutPassword(const CodServer& server) const
{
    server.joinServerWithPass(QString(), installedGames());
}
