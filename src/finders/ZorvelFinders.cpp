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

// Makes the finder at its first opening, hands it the lists and brings it to the front.
template <class Finder>
void openFinder(Zorvel& controller, std::unique_ptr<Finder>& finder)
{
    if (!finder) {
        finder = std::make_unique<Finder>(controller);
        finder->show();
    }
    handOver(masterListsOf(controller), *finder);
    finder->updateUI();
    showInFront(*finder);
}

}  // namespace

void Zorvel::connectFinders()
{
    connect(this, &Zorvel::masterScanStarted, this, &Zorvel::updateFindersUI);
    connect(this, &Zorvel::masterListsChanged, this, &Zorvel::handMasterListsToFinders);
}

void Zorvel::showFindServerWindow()
{
    openFinder(*this, _findServerWindow);
}

void Zorvel::showFindPlayerOrClanPanel()
{
    openFinder(*this, _findPlayerOrClanWindow);
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
