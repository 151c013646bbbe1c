#include "finders/Finders.h"

#include "finders/FinderHost.h"
#include "finders/PlayerFinder.h"
#include "finders/ServerFinder.h"

namespace {

template <class Finder>
void handOver(const FinderHost::MasterLists& lists, Finder& finder)
{
    finder.getTheServersArray(lists);
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
void openFinder(FinderHost& controller, std::unique_ptr<Finder>& finder)
{
    if (!finder) {
        finder = std::make_unique<Finder>(controller);
        finder->show();
    }
    handOver(controller.masterLists(), *finder);
    finder->updateUI();
    showInFront(*finder);
}

}  // namespace

Finders::Finders(FinderHost& controller, QObject* parent)
    : QObject(parent)
    , controller(controller)
{
}

Finders::~Finders() = default;

// The server finder comes into view on the game fetched last; one already in view
// keeps the game the user chose.
void Finders::showFindServerWindow()
{
    const bool inView = _findServerWindow && _findServerWindow->isVisible();
    openFinder(controller, _findServerWindow);
    if (!inView)
        _findServerWindow->selectLatestGame();
}

void Finders::showLocalNetwork(const QList<CodServerPtr>& servers)
{
    openFinder(controller, _findServerWindow);
    _findServerWindow->showLocalNetwork(servers);
}

void Finders::showFindPlayerOrClanPanel()
{
    openFinder(controller, _findPlayerOrClanWindow);
}

void Finders::updateFindersUI()
{
    if (_findPlayerOrClanWindow)
        _findPlayerOrClanWindow->updateUI();
    if (_findServerWindow)
        _findServerWindow->updateUI();
}

void Finders::handMasterListsToFinders()
{
    if (!_findPlayerOrClanWindow && !_findServerWindow)
        return;
    const FinderHost::MasterLists lists = controller.masterLists();
    if (_findPlayerOrClanWindow)
        handOver(lists, *_findPlayerOrClanWindow);
    if (_findServerWindow)
        handOver(lists, *_findServerWindow);
}
