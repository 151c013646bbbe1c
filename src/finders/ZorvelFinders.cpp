// The controller's side of the finders: opening them and handing them the master lists.
#include "app/Zorvel.h"

namespace {

// The four master lists, copied once for every finder they are handed to.
struct MasterLists {
    QList<CodServerPtr> cod;
    QList<CodServerPtr> uo;
    QList<CodServerPtr> cod2;
    QList<CodServerPtr> cod4;
};

MasterLists masterListsOf(const Zorvel& controller)
{
    return {controller.activeCodServers(), controller.activeUOServers(), controller.activeCod2Servers(),
            controller.activeCod4Servers()};
}

template <class Finder>
void handOver(const MasterLists& lists, Finder& finder)
{
    finder.getTheServersArray(lists.cod, lists.uo, lists.cod2, lists.cod4);
}

template <class Finder>
void showInFront(Finder& finder)
{
    finder.show();
    finder.raise();
    finder.activateWindow();
}

}  // namespace

void Zorvel::connectFinders()
{
    connect(this, &Zorvel::masterScanStarted, this, &Zorvel::updateFindersUI);
    connect(this, &Zorvel::masterListsChanged, this, &Zorvel::handMasterListsToFinders);
}

void Zorvel::showFindServerWindow()
{
    if (!_findServerWindow) {
        _findServerWindow = std::make_unique<ServerFinder>(*this);
        _findServerWindow->show();
    }
    handOver(masterListsOf(*this), *_findServerWindow);
    _findServerWindow->updateUI();
    showInFront(*_findServerWindow);
}

void Zorvel::showFindPlayerOrClanPanel()
{
    if (!_findPlayerOrClanWindow) {
        _findPlayerOrClanWindow = std::make_unique<PlayerFinder>(*this);
        _findPlayerOrClanWindow->show();
    }
    handOver(masterListsOf(*this), *_findPlayerOrClanWindow);
    _findPlayerOrClanWindow->updateUI();
    showInFront(*_findPlayerOrClanWindow);
}

void Zorvel::updateFindersUI()
{
    if (_findPlayerOrClanWindow)
        _findPlayerOrClanWindow->updateUI();
    if (_findServerWindow)
        _findServerWindow->updateUI();
}

void Zorvel::handMasterListsToFinders()
{
    if (!_findPlayerOrClanWindow && !_findServerWindow)
        return;
    const MasterLists lists = masterListsOf(*this);
    if (_findPlayerOrClanWindow)
        handOver(lists, *_findPlayerOrClanWindow);
    if (_findServerWindow)
        handOver(lists, *_findServerWindow);
}
