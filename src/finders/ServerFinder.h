#pragma once

#include "finders/FoundServers.h"
#include "finders/GameChoices.h"
#include "finders/GatheredServers.h"
#include "finders/FinderHost.h"
#include "finders/GameRows.h"
#include "finders/ScanProgress.h"
#include "finders/ServerFilter.h"
#include "finders/ShownServers.h"
#include "model/CodServer.h"
#include "platform/WorkerQueue.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

namespace Ui {
class ServerFinder;
}
class FinderHost;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class ServerFinderTableModel;

// The server finder: a window in which the user browses the servers that the master
// scans found, one game at a time, narrows them with filters, orders them by column,
// and joins one, adds it to the favourites or queries it again. It also starts and
// stops the four scans.
//
// It keeps its own copies of the controller's four lists, replaced at every hand-over.
// While any scan runs the window is frozen: the filters are hidden, the buttons are
// disabled and the shown list stays as it was; once no scan runs, each hand-over
// rebuilds the map and gametype choices and the shown list.
class ServerFinder : public QWidget {
    Q_OBJECT
public:
    explicit ServerFinder(FinderHost& controller, QWidget* parent = nullptr);
    ~ServerFinder() override;

    Ui::ServerFinder& controls() { return *ui; }
    // The servers the table shows, in its order.
    QList<CodServerPtr> theServers() const { return shown.servers(); }

    // Takes copies of the games' lists and rebuilds when no scan runs.
    void getTheServersArray(const FinderHost::MasterLists& lists);
    // Rebuilds the map and gametype choices of every game, selects "All" in both boxes
    // and filters again.
    void updateServers();
    // Takes in the servers of every list that were not taken in yet.
    void takeInLists();
    // Rebuilds the shown list from the selected game's servers that pass the filters.
    void applyFilters();
    // Offers the newly selected game's maps and gametypes, keeping the chosen map and
    // gametype when the game has them too, and filters again.
    void gameChanged();
    // Shows the counts and enables the controls for the current state.
    void updateUI();
    // Shows the game whose scan started last in this run, when it has servers or its
    // scan still runs; otherwise the first game with servers. When no game has any,
    // the game shown stays.
    void selectLatestGame();

    // Shows the servers found on the local network under "Local network", selected.
    void showLocalNetwork(const QList<CodServerPtr>& servers);

    // The row of the servers found on the local network, after the games' rows.
    int localNetwork() const { return int(gameControls.size()); }

    // Starts or stops the scan of a game, by its tag (its place in the catalogue).
    void refreshMaster(int tag);
    void stopRefreshMaster(int tag);
    // The selected server: join it without password, add it to the favourites, or
    // query it again on the finder's worker (removing it, after an alert, when it does
    // not answer).
    void joinServer();
    // Joins the selected server after asking for its join password.
    void joinServerWithPassword();
    void addServerToMyList();
    void updateServer();
    // Orders the shown list by the column the table's header now sorts on.
    void tableViewSortDescriptorsDidChange();

private:
    // The controls of one game's row.
    // Adds the "Local network" row under the games': its "Find" asks the network, and
    // it has nothing to stop.
    void addLocalNetworkRow();
    // The games' rows and the local network's.
    QList<GameRow> allRows() const { return gameControls + QList<GameRow>{localNetworkRow}; }
    void windowDidLoad();
    void setUpTable();
    void keepFetchButtonsInPlace();
    void connectControls();
    void setUpContextMenu();
    // The selected game's tag, or -1 when none is selected.
    int selectedGame() const;
    ServerFilter filterOfControls() const;
    // Filters and selects the server again when it is still shown.
    void filterKeepingSelected(const CodServerPtr& selected);
    // Refills the map and gametype boxes with the selected game's choices, selecting
    // the entries equal to the texts, or "All" where there is none.
    void fillChoiceBoxes(const QString& map, const QString& gametype);
    // A line for each running scan: the game and its counts.
    QString scansProgressText() const;
    void showCounts();
    void showMastersTip(const GameRow& game, const ScanProgress& progress);
    CodServerPtr selectedServer() const;
    // Selects the server's row, or no row when it is not shown.
    void selectServer(const CodServerPtr& server);
    // Drops a server that did not answer its query from the copy of the selected
    // game's list.
    void removeServer(const CodServerPtr& server);
    // The server's query again is over: its row is redrawn, or it is removed.
    void serverRequeried(const CodServerPtr& server);

    FinderHost& controller;
    std::unique_ptr<Ui::ServerFinder> ui;
    QButtonGroup* gameMatrix = nullptr;
    // The games' rows, in the catalogue's order, and the local network's under them.
    QList<GameRow> gameControls;
    GameRow localNetworkRow;
    ServerFinderTableModel* tableModel = nullptr;
    // The copies of the games' master lists and of the local network's list, and the
    // servers shown.
    FinderHost::MasterLists gameServers;
    // The same lists as the filters read them, taken in at every hand-over.
    std::vector<GatheredServers> gatheredServers;
    // Those the table shows, as the scans' end left them, in the table's order.
    std::vector<FoundServers> foundServers;
    ShownServers shown;
    QList<GameChoices> gameChoices;
    // Last, so that its worker is joined before the lists its jobs' ends use go.
    WorkerQueue requeries;
};
