#pragma once

#include "admin/GameRotation.h"
#include "app/FavouritesList.h"
#include "app/MasterScan.h"
#include "app/NewModifyWindow.h"
#include "finders/PlayerFinder.h"
#include "finders/ServerFinder.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "model/GameKind.h"
#include "prefs/PreferenceController.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <memory>
#include <stop_token>
#include <thread>

class MainWindow;
class QAction;

// The application controller: one object for the whole run that owns the shared
// state (the favourites, the gametype lists, the master lists, the game images and
// the flags of the running work), registers the default settings, loads the stored
// favourites, and stores them again at quit when they changed. Its operations are
// the main window's actions; each ends by redrawing the window through updateUI.
//
// Its operations are defined in several files: start-up, menus and quit in Zorvel.cpp,
// the editing of the favourites and the clipboard in ZorvelFavourites.cpp, the
// refreshes, the player alert and joining in ZorvelRefresh.cpp, the master scans in
// ZorvelMasterScan.cpp, the summary, server buttons and administration drawer in
// admin/ZorvelPanel.cpp, the drawer's console commands in admin/ZorvelConsole.cpp,
// and the finders' windows in finders/ZorvelFinders.cpp.
//
// Refreshing all favourites runs on one worker thread that the controller owns: it
// queries the favourites one after the other and hands every change of the window to
// the UI thread. Quitting stops it after the favourite it is querying and joins it.
class Zorvel : public QObject {
    Q_OBJECT
public:
    // Registers the default settings, loads the favourites, builds the gametype
    // lists, loads the images and detects the installed games.
    explicit Zorvel(QObject* parent = nullptr);
    // Stops a running refresh of all favourites and waits for its thread.
    ~Zorvel() override;

    // Sets up the main window once its controls exist, and takes the map lists
    // that the network layer fetches into its administration drawer.
    void awakeFromNib(MainWindow& window);
    // The main window is being destroyed: nothing of it may be used any more.
    void forgetMainWindow();

    // Whether a menu command, named by its action's objectName, is enabled now.
    bool validateMenuItem(const QAction& item) const;

    // The selected favourite becomes the current server. It is refreshed when the
    // settings say so, or when the user administers it (a UT2004 server excepted);
    // otherwise the window is only redrawn.
    void tableViewSelectionDidChange();

    // Refreshes the selected favourite on the UI thread, then redraws the window; does
    // nothing without a selection.
    void refreshServer();
    // Refreshes the favourite at the row: its status, or its UT2004 query when it does
    // not answer that, counts the list as modified when its name changed, and runs the
    // player alert. A favourite that another refresh is querying is left to that one.
    // False when the row is outside the list; on the worker, that ends the run.
    bool refreshServerAtIndex(int index);
    // Starts refreshing every favourite on the worker thread. Dropped with no
    // favourites, or while a run is under way (a timer tick then waits for the next).
    void refreshAllServers();
    // The periodic refresh was switched on or off, or its period (in seconds) changed:
    // a changed period takes effect at the next tick, switching on refreshes at once.
    void handleRefreshChange(bool autoRefresh, int refreshDelay);
    // The repeating timer of the periodic refresh, or null while that is off.
    const QTimer* refreshTimer() const { return m_refreshTimer.get(); }
    // When armed (the check box on, a name or tag watched), the first favourite with a
    // matching player disarms it and an alert tells so.
    void alertOnPlayerName();

    // Joins the selected favourite, first asking for a join password when the option
    // (Alt) key is held or the server says it needs one.
    void goToServer();
    // Ends the password sheet and joins with the password typed into it.
    void okPasswordWindow();
    void cancelPasswordWindow();

    // Recomputes what the main window shows from the current state: both tables,
    // then the buttons and drawer, then the summary.
    void updateUI();
    // Enables the server buttons, opens or closes the administration drawer and
    // fills its lists, for the selected favourite.
    void updateButtonStatus();
    // Writes the summary, the status line and the three icons of the selected favourite.
    void updateFields();
    // Refills the drawer's configuration files from the server's listing.
    void updateExecComboBox(const CodServerPtr& server);
    // Refills the drawer's maps from the server's listing, keeping the map shown;
    // also called when a map listing arrives. A listing of a server other than the
    // current one is ignored: it arrives after the selection moved on and would offer
    // maps the selected server lacks.
    void updateMapListComboBox(const CodServerPtr& server);
    // Redraws the favourites table, whose colours follow the watched player name, then
    // runs the player alert.
    void reloadServerTable();
    // Shows the details sheet of the current server.
    void infoOnServer();
    void closeInfoWindow();
    // Adds the AWE gametypes to the drawer's gametype list, or takes them out, as
    // the AWE check box says.
    void addRemoveAWEGametypes();

    // The administration drawer's console commands to the current server, defined in
    // admin/ZorvelConsole.cpp. A command that follows another one is sent a
    // double-command latency later by delayedRconCommand.
    void restart();
    void nextMap();
    // Sends the drawer's gametype now and its map a latency later; refused for a
    // server that was never refreshed.
    void changeMap();
    void rconSay();
    void rconCommand();
    // Kicks or bans the selected player: by name with the Alt key held, otherwise by
    // the slot that the server's console status listing gives the player.
    void kickPlayer();
    void kickAllPlayer();
    void banPlayer();
    void setNewServerPassword();
    void execCfg();
    // Sends a command whose delay ended to the server of its sequence.
    void delayedRconCommand(const QString& command, const CodServerPtr& server);

    // Opens the new/modify sheet to add a favourite.
    void newServer();
    // Opens the new/modify sheet on the selected favourite; beeps without one.
    void modifyServer();
    // Ends the sheet when its address is valid, otherwise tells what is wrong.
    void okNewModifyWindow();
    void cancelNewModifyWindow();
    // Adds or modifies the favourite once the sheet ended with OK (return code 1).
    void newModifySheetDidEnd(int returnCode, NewModifyWindow::Mode mode);
    // Appends a new favourite; false, changing nothing, when the address is taken.
    bool addServer(const QString& ip, const QString& name, const QString& pass);
    static int indexOfServerIpInArray(const QString& ip, const QList<CodServerPtr>& array);
    static int indexOfServerInArray(const CodServer& server, const QList<CodServerPtr>& array);
    static bool verifyIpStringForServer(const QString& ip);
    // Deletes the selected favourite without confirmation; the one that followed it
    // becomes the current server. Beeps without a selection.
    void deleteServer();

    // The clipboard commands of the Edit menu. The menu's Delete command is
    // deleteSelection, as `delete` is a C++ keyword.
    void copy();
    void cut();
    void paste();
    void deleteSelection();

    // The favourites, for the table's drag and drop.
    FavouritesList& favourites() { return m_myServers; }
    // After a drop reordered or added favourites: the selection follows the current
    // server, the list counts as modified and the window is redrawn.
    void favouritesWereDropped();
    // The player name or clan tag watched in the favourites.
    QString playerNameToFind() const;

    // Stores the favourites under "myServers" when they changed since last stored.
    void updateServerListPreference();
    // Closing the main window ends the run.
    void windowWillClose();
    // Shows the preferences panel, made at its first opening and kept to the end of
    // the run.
    void showPreferencePanel();
    // At quit, offers to store a modified list of favourites.
    void applicationWillTerminate();

    // Opens the game rotation editor on the current server with the gametypes of the
    // drawer's list; refused for a server that was never refreshed.
    void createGameRotation();

    // Show the server finder or the player finder, each made at its first opening and
    // kept to the end of the run, with copies of the four master lists.
    void showFindServerWindow();
    void showFindPlayerOrClanPanel();

    bool hasCoD() const { return m_hasCoD; }
    bool hasUO() const { return m_hasUO; }
    bool hasCoD2() const { return m_hasCoD2; }
    bool hasCoD4() const { return m_hasCoD4; }
    bool hasUrbanTerror() const { return m_hasUrbanTerror; }
    // The games that can be started on this machine, for joining a server.
    InstalledGames installedGames() const;

    QList<CodServerPtr> myServers() const { return m_myServers.servers(); }
    const QStringList& codGameTypeArray() const { return m_codGameTypeArray; }
    const QStringList& uoGameTypeArray() const { return m_uoGameTypeArray; }
    const QStringList& cod2GameTypeArray() const { return m_cod2GameTypeArray; }
    const QStringList& cod4GameTypeArray() const { return m_cod4GameTypeArray; }
    const QStringList& AWEGameTypeArray() const { return m_AWEGameTypeArray; }
    // Copies of the four master lists, taken under the lock the scanning threads
    // append under.
    QList<CodServerPtr> activeCodServers() const;
    QList<CodServerPtr> activeUOServers() const;
    QList<CodServerPtr> activeCod2Servers() const;
    QList<CodServerPtr> activeCod4Servers() const;

    // Master scans (ZorvelMasterScan.cpp): each fetches its game's list from the master
    // server and queries the listed servers on worker threads, keeping those that
    // answer. A stop asks the scan's threads to leave after the server each is querying.
    void scanCodServers();
    void scanUOServers();
    void scanCod2Servers();
    void scanCod4Servers();
    void scanCodServersStop();
    void scanUOServersStop();
    void scanCod2ServersStop();
    void scanCod4ServersStop();
    // Whether the game's scan runs.
    bool codRefreshState() const;
    bool uoRefreshState() const;
    bool cod2RefreshState() const;
    bool cod4RefreshState() const;
    // Asks every running scan to stop and waits for its threads (at quit).
    void stopMasterScans();

    bool listOfServersModified() const { return m_listOfServersModified; }
    void setListOfServersModified(bool modified) { m_listOfServersModified = modified; }
    bool refreshAllInProgress() const { return m_refreshAllInProgress; }

    bool codMasterIsRefreshing() const { return codScan.isRefreshing(); }
    bool uoMasterIsRefreshing() const { return uoScan.isRefreshing(); }
    bool cod2MasterIsRefreshing() const { return cod2Scan.isRefreshing(); }
    bool cod4MasterIsRefreshing() const { return cod4Scan.isRefreshing(); }
    void setCodMasterIsRefreshing(bool refreshing) { codScan.setRefreshing(refreshing); }
    void setUOMasterIsRefreshing(bool refreshing) { uoScan.setRefreshing(refreshing); }
    void setCod2MasterIsRefreshing(bool refreshing) { cod2Scan.setRefreshing(refreshing); }
    void setCod4MasterIsRefreshing(bool refreshing) { cod4Scan.setRefreshing(refreshing); }

    CodServerPtr currentServer() const { return m_currentServer; }

    // The icon of a game; a null pixmap for a game without one.
    QPixmap gameImage(GameKind kind) const;
    QPixmap punkbusterImage() const { return m_punkbusterImage; }
    QPixmap passwordImage() const { return m_passwordImage; }

signals:
    // A scan started: open finders bring their controls up to date.
    void masterScanStarted();
    // The master lists grew or a scan's thread ended (emitted on the UI thread):
    // open finders take new copies of the four lists.
    void masterListsChanged();

private:
    static QByteArray registerDefaults();
    static QList<CodServerPtr> loadMyServers(const QByteArray& presetArchive);
    static bool isInstalled(const QString& applicationIdentifier);
    bool anyMasterIsRefreshing() const;
    // The selected row of the favourites table, or -1.
    int selectedFavouriteRow() const;
    // Whether the game can be started on this machine.
    bool isGameInstalled(GameKind kind) const;
    // The gametypes the drawer offers for a game, with the AWE ones when wanted.
    QStringList gameTypeArrayFor(GameKind kind, bool withAWE) const;
    // A change of the favourites list: it counts as modified and the window is redrawn.
    void favouritesDidChange();
    // The open finders follow the scans: they bring their controls up to date when a
    // scan starts and take the grown lists at every hand-over.
    void connectFinders();
    void updateFindersUI();
    // Hands copies of the four master lists to the player finder, then the server
    // finder, each if it exists.
    void handMasterListsToFinders();
    // Whether the user administers the server, so that it is refreshed on selection.
    static bool isAdministered(const CodServer& server);
    // The body of the refresh-all worker, which ends early when asked to stop.
    void refreshServerThread(std::stop_token stopToken);
    void refreshAllDidEnd();
    void showRefreshAllRunning(bool running);
    void stopRefreshAll();
    void startRefreshTimer(int seconds);
    // Helpers of the console commands (admin/ZorvelConsole.cpp).
    void sendRconCommand(const QString& command);
    void scheduleRconCommand(const QString& command, double seconds);
    CodPlayerPtr selectedPlayer() const;
    std::optional<int> slotInStatusListing(const QString& colouredName, const QString& alertTitle);
    int banDuration() const;

    // Starts the game's scan, unless it runs already.
    void startMasterScan(MasterScan& scan);
    // Fetches the game's list from its master and starts the scanning threads.
    void startRefresh(MasterScan& scan);
    // What the scan's threads report, queued onto the UI thread.
    MasterScan::Reports masterScanReports(const MasterScan& scan);
    // Queues a hand-over of the lists unless one is queued already.
    void queueMasterListsHandOver();
    // Hands the lists to the open finders (through masterListsChanged).
    void newServerFromMaster();
    void masterScanDidEnd(const QString& labelName, int kept);
    void showScanLabel(const QString& labelName, const QString& text);
    void showServersRefreshIndicator(bool running);

    FavouritesList m_myServers;
    const QStringList m_codGameTypeArray;
    const QStringList m_uoGameTypeArray;
    const QStringList m_cod2GameTypeArray;
    const QStringList m_cod4GameTypeArray;
    const QStringList m_AWEGameTypeArray;
    // Set while a hand-over of the master lists waits in the UI thread's queue: the
    // threads then queue no other, since that one copies the lists after their
    // appends. Declared before the scans, whose threads read it until joined.
    std::atomic<bool> masterListsHandOverQueued = false;
    // The master scans and the one lock over their lists, thread counters and running
    // flags. Each scan joins its threads as it is destroyed; they use nothing of the
    // controller but that lock and the queue of its UI thread.
    std::mutex masterListsLock;
    MasterScan codScan{MasterScan::Game::CoD, masterListsLock};
    MasterScan uoScan{MasterScan::Game::UO, masterListsLock};
    MasterScan cod2Scan{MasterScan::Game::CoD2, masterListsLock};
    MasterScan cod4Scan{MasterScan::Game::CoD4, masterListsLock};
    std::unique_ptr<PreferenceController> _preferenceController;
    std::unique_ptr<GameRotation> _gameRotationWindow;
    std::unique_ptr<PlayerFinder> _findPlayerOrClanWindow;
    std::unique_ptr<ServerFinder> _findServerWindow;
    // Set by the refresh-all worker too, when a server's name changed.
    std::atomic<bool> m_listOfServersModified = false;
    bool m_hasCoD = false;
    bool m_hasUO = false;
    bool m_hasCoD2 = false;
    bool m_hasCoD4 = false;
    bool m_hasUrbanTerror = false;
    bool m_refreshAllInProgress = false;
    CodServerPtr m_currentServer;
    QPixmap m_codGameImage;
    QPixmap m_uoGameImage;
    QPixmap m_cod2GameImage;
    QPixmap m_cod4GameImage;
    QPixmap m_ETGameImage;
    QPixmap m_UrbanTerrorGameImage;
    QPixmap m_UT2k4GameImage;
    QPixmap m_punkbusterImage;
    QPixmap m_passwordImage;
    bool m_prefRefreshWhenSelected = false;
    std::unique_ptr<QTimer> m_refreshTimer;

    MainWindow* mainWindow = nullptr;
    // updateUI is under way: selection changes it causes are taken in by itself.
    bool updatingUI = false;
    // The refresh-all worker; joined before a new run starts and at quit.
    std::jthread refreshAllThread;
};
