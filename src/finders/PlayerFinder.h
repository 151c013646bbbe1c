#pragma once

#include "finders/FinderHost.h"
#include "finders/GameRows.h"
#include "finders/PlayerFound.h"
#include "finders/PlayerSearch.h"
#include "model/CodServer.h"

#include <QList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace Ui {
class PlayerFinder;
}
class FinderHost;
class PlayerFinderTableModel;
class QLabel;
class QPushButton;

// The player finder: a window in which the user looks for a player name or clan tag
// on every server the master scans found, and joins a found player's server or adds
// it to the favourites. It also starts and stops the four scans, and keeps the names
// the user wants to look for again ("Favorite players").
//
// A search started while a scan runs stays live: every hand-over of the grown lists
// runs it again over everything gathered so far, until the scans end.
class PlayerFinder : public QWidget {
    Q_OBJECT
public:
    explicit PlayerFinder(FinderHost& controller, QWidget* parent = nullptr);
    ~PlayerFinder() override;

    Ui::PlayerFinder& controls() { return *ui; }
    const QList<PlayerFound>& thePlayersFound() const { return m_thePlayersFound; }

    // Joins the games' lists into the searched servers, and runs the search again
    // over them: a live one, or the last one whose results show.
    void getTheServersArray(const FinderHost::MasterLists& lists);
    // Runs the search when the start button is on, over the whole lists. It stays on
    // while a scan runs, so that the next hand-over runs it again over the servers
    // added since; otherwise this run is the last.
    void startSearch();
    // Shows the counts and enables the controls for the current state.
    void updateUI();

    // Adds the text of the name box to the kept names, or takes it out of them.
    void addStringInCombo();
    void deleteStringInCombo();
    // The selected result's server: join it without password, or add it to the favourites.
    void joinPlayer();
    void addServerToMyList();
    // Asks the history where and when the players whose name holds the text of the
    // name box were seen, servers of past scans included, and shows it once answered.
    void lastSeen();
    // Starts or stops the scan of a game, by its tag (0 CoD, 1 UO, 2 CoD2, 3 CoD4).
    void refreshMaster(int tag);
    void stopRefreshMaster(int tag);

private:
    // The controls of one game.
    void windowDidLoad();
    void setUpTable();
    void connectControls();
    // The search itself, over what the last run did not go over yet while a scan
    // runs, without bringing the controls up to date.
    void runSearch();
    // Replaces the results with those of the text over the searched servers, in the
    // order the table's column titles chose.
    void searchPlayerInArray(const QString& text);
    // Runs the search whose results are shown again over the lists handed over.
    void followLists();
    // The user chose another order: the results take it, the selection stays on its
    // result.
    void resultsOrderChanged();
    void sortResults();
    // Makes a change to the results; the selection stays on its result if it is
    // still one.
    void keepingSelection(const std::function<void()>& change);
    // Ends the live search: the start button goes off and the indicator stops.
    void endSearch();
    void setSearchingIndicatorAnimating(bool animating);
    void storeNames() const;
    // The selected result, or null.
    const PlayerFound* selectedResult() const;

    FinderHost& controller;
    std::unique_ptr<Ui::PlayerFinder> ui;
    QList<GameRow> gameControls;
    PlayerFinderTableModel* tableModel = nullptr;
    // The games' lists of the last hand-over, and the search over them.
    PlayerSearch::GameLists gameLists;
    PlayerSearch search;
    // Whether the last run of the search was while a scan ran.
    bool searchedWhileScanning = false;
    QList<PlayerFound> m_thePlayersFound;
    // The text whose results the table shows, empty before the first search.
    QString shownSearch;
};
