#pragma once

#include "admin/GameRotation.h"
#include "admin/ServerConsole.h"
#include "app/FavouritesList.h"
#include "app/FavouritesStore.h"
#include "app/MasterScan.h"
#include "app/NewModifyWindow.h"
#include "app/Watches.h"
#include "finders/FinderHost.h"
#include "finders/Finders.h"
#include "history/HistoryStore.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "model/GameKind.h"
#include "platform/WorkerQueue.h"
#include "prefs/PreferenceController.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <set>
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
// ZorvelPanel.cpp, and what the finders ask of it (FinderHost) in ZorvelFinders.cpp.
// The drawer's console commands are a ServerConsole, and the finders' windows are
// kept by Finders; the controller owns both.
//
// Refreshing all favourites runs on one worker thread that the controller owns: it
// queries the favourites all at once on the scan engine and hands every change of the
// window to the UI thread. Quitting stops it, abandoning the queries under way, and
// joins it.
// The refresh of the selected favourite and the map listing that follows it run on
// another worker, the window's, which quitting also joins.
class Zorvel : public QObject, public FinderHost {
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

    // Refreshes the selected favourite on the window's worker, then tells the outcome
    // in the status bar, runs the player alert, asks for its map listing when it is
    // administered, and redraws the window; does nothing without a selection. A
    // request for a favourite whose refresh is under way (asked for by the window,
    // or in the refresh-all run) queries nothing and tells that it "is being
    // refreshed".
    void refreshServer();
    // Whether no exchange the window asked for is waiting, under way, or has an
    // outcome not yet told.
    bool windowExchangesIdle() const { return windowExchanges.idle(); }
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
    // The name or tag the player alert watches while it is armed; empty otherwise.
    QString armedPlayerAlert() const;
    // The player alert was armed, disarmed or given another name: the Watch window
    // shows it as the simplest rule while armed.
    void playerAlertChanged();
    // Shows the Watch window with the watch rules.
    void showWatchWindow();
    const Watches& watchRules() const { return watches; }

    // Joins the selected favourite, first asking for a join password when the option
    // (Alt) key is held or the server says it needs one.
    void goToServer();
    // Asks for a join password, then joins the selected favourite: the Join command
    // with Alt held, reached without a modifier.
    void goToServerWithPassword();
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
    // Redraws the favourites table, whose colours follow the watched player name, and
    // the players table, whose list a refresh may have replaced; then runs the player
    // alert.
    void reloadServerTable();
    // Shows the details sheet of the current server.
    void infoOnServer();
    void closeInfoWindow();
    // Adds the AWE gametypes to the drawer's gametype list, or takes them out, as
    // the AWE check box says.
    void addRemoveAWEGametypes();

    // The administration drawer's console commands to the current server; they keep
    // the player chosen for a kick or a ban.
    ServerConsole& console() { return serverConsole; }
    const ServerConsole& console() const { return serverConsole; }
    // Tells in the main window's status bar what became of the user's last action.
    void showOutcome(const QString& message);

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
    bool addServer(const QString& ip, const QString& name, const QString& pass) override;
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
    // False when they had to be stored and could not be.
    bool updateServerListPreference();
    // Closing the main window ends the run.
    void windowWillClose();
    // Shows the preferences panel, made at its first opening and kept to the end of
    // the run.
    void showPreferencePanel();
    // Before the run ends, offers to store a modified list of favourites: "Yes" stores
    // it, "No" lets it go. False when the run must go on: the prompt was closed or
    // escaped, or the list could not be stored (an alert says so). Once answered, the
    // recovery copy goes and the prompt does not come again.
    bool applicationShouldTerminate();
    // The run ends, whatever the user answers: stops the refresh of all favourites and
    // offers to store the list if the prompt was not answered yet; unanswered, the
    // recovery copy stays for the next start.
    void applicationWillTerminate();
    // The desktop session ends. With leave to ask the user, the quit prompt decides
    // whether it may (false keeps it going); without, the recovery copy keeps the
    // unsaved favourites for the next start.
    bool commitData(bool interactionAllowed);

    // Opens the game rotation editor on the current server with the gametypes of the
    // drawer's list; refused for a server that was never refreshed.
    void createGameRotation();

    // Show the server finder or the player finder, each made at its first opening and
    // kept to the end of the run, with copies of the master lists.
    void showFindServerWindow();
    void showFindPlayerOrClanPanel();
    // The finders' game tags stand for the scans of the catalogue's games, in its order.
    MasterLists masterLists() const override;
    bool anyMasterIsRefreshing() const override;
    void scanServers(int tag) override;
    void scanServersStop(int tag) override;
    ScanProgress scanProgress(int tag) const override;
    std::optional<int> lastFetchedGame() const override { return m_lastFetchedGame; }
    void joinServer(const CodServerPtr& server, QWidget& window, bool withPassword) override;
    // The history of the servers queried (ZorvelHistory.cpp): every answered status
    // query of a favourite, a scan or a finder is recorded in it.
    HistoryStore& history() override { return m_history; }
    // Finds the servers of the local network: "getinfo" to the "LAN Broadcast Address"
    // on every game's default ports; the finder shows those that answer.
    void findLanServers() override;

    // The games that can be started on this machine, for joining a server.
    const InstalledGames& installedGames() const { return m_installedGames; }

    QList<CodServerPtr> myServers() const { return m_myServers.servers(); }
    const QStringList& AWEGameTypeArray() const { return m_AWEGameTypeArray; }
    // A copy of the game's master list, taken under the lock the scans append under.
    QList<CodServerPtr> masterServers(int tag) const;

    // Master scans (ZorvelMasterScan.cpp), one per game of the catalogue, by its tag
    // (scanServers, scanServersStop): each fetches its game's list from the master
    // server and queries the listed servers on the scan engine's thread as the list
    // arrives, keeping those that answer. A stop asks the scan to query nothing more;
    // it ends within one time-out.
    // Whether the game's scan runs.
    bool masterIsRefreshing(int tag) const;
    void setMasterIsRefreshing(int tag, bool refreshing);
    // Ends every running scan now and waits until the engine dropped it (at quit).
    void stopMasterScans();

    bool listOfServersModified() const { return m_listOfServersModified; }
    void setListOfServersModified(bool modified) { m_listOfServersModified = modified; }
    bool refreshAllInProgress() const { return m_refreshAllInProgress; }

    CodServerPtr currentServer() const { return m_currentServer; }

    // The icon of a game; a null pixmap for a game without one.
    QPixmap gameImage(GameKind kind) const override;
    // The icon of the server's game: its GameKind's, else the one drawn for its game in
    // the catalogue (":/images/games/ID.png"); a null pixmap when there is neither.
    QPixmap gameImageOf(const CodServer& server) const;
    QPixmap punkbusterImage() const override { return m_punkbusterImage; }
    QPixmap passwordImage() const override { return m_passwordImage; }

signals:
    // A scan started, or a running one was asked to stop: open finders bring their
    // controls up to date.
    void masterScanStarted();
    void masterScanStopAsked();
    // The master lists grew or a scan ended (emitted on the UI thread):
    // open finders take new copies of the lists.
    void masterListsChanged();

private:
    static QByteArray registerDefaults();
    void loadMyServers(const QByteArray& presetArchive);
    // Tells what start-up found: a damaged settings file or favourites list, or the
    // unsaved favourites of an earlier run, which it offers to restore.
    void tellWhatStartUpFound();
    void tellAboutDamagedSettingsFile() const;
    static void tellAboutUnreadGames();
    void tellAboutDamagedFavourites();
    // An alert with what damage start-up found, and where the copy of what was
    // damaged is kept, if one could be.
    static void tellAboutDamage(const QString& title, const QString& damage, const QString& damaged,
                                const std::optional<QString>& copy);
    // Where the copy of what was damaged is kept, or that none could be.
    static QString keptCopy(const QString& damaged, const std::optional<QString>& copy);
    void offerToRestoreUnsavedFavourites();
    // The list now differs from the stored one: its recovery copy is written, unless
    // the earlier run's copy still waits for the user's answer. The status bar tells
    // once that the copy cannot be written.
    void keepRecoveryCopy();
    // What the restore prompt says of a recovery copy that was partly read.
    static QString damageOf(const FavouritesStore::Loaded& unsaved);
    void connectSessionManager();
    // The selected row of the favourites table, or -1.
    int selectedFavouriteRow() const;
    // Whether the server's game can be started on this machine.
    bool isGameInstalled(const CodServer& server) const;
    // The gametypes the drawer offers for the server's game, from the game catalogue,
    // with the AWE mod's when wanted on the games it runs on.
    QStringList gameTypeArrayFor(const CodServer& server, bool withAWE) const;
    // The status bar tells that a favourite has the address already.
    void tellAddressTaken(const QString& ip);
    // Appends the favourite, or tells that its address is taken; true when added.
    bool addFavourite(const CodServerPtr& server);
    // A change of the favourites list: it counts as modified and the window is redrawn.
    void favouritesDidChange();
    // The open finders follow the scans: they bring their controls up to date when a
    // scan starts and take the grown lists at every hand-over.
    void connectFinders();
    // Tells the user what goes wrong with the history, and prunes it once a day.
    void connectHistory();
    // How long the history keeps what, as the settings say.
    static HistoryRetention historyRetention();
    // Whether the user administers the server, so that it is refreshed on selection.
    static bool isAdministered(const CodServer& server);
    // Refreshes a favourite whose players a console command changed.
    void refreshAfterConsoleCommand(const CodServerPtr& server);
    // Refreshes the favourite, on a worker; false, querying nothing, while another
    // refresh of it is under way.
    bool refreshFavourite(const CodServerPtr& server);
    // Records the favourite's answer in the history, and marks the list as modified
    // when the refresh changed its name.
    void favouriteRefreshed(const CodServer& server, const QString& nameBefore);
    // The single refresh is over: the outcome, the player alert, the map listing.
    void singleRefreshDidEnd(const CodServerPtr& server, bool refreshed);
    void queueMapListing(const CodServerPtr& server);
    // Tells how the favourites stand once all of them were refreshed.
    void tellRefreshAllOutcome();
    // Joins the server a watch rule fired on, asking for its join password when needed.
    void joinWatchedServer(const CodServerPtr& server);
    // Starts the game on the current server, with the join password when not empty.
    void joinCurrentServer(const QString& password);
    // Starts the game on the server and tells so in the status bar.
    void joinServerWithPass(const CodServer& server, const QString& password);
    // Whether Join asks for the password first: the server wants one, or Alt is held.
    static bool wantsJoinPassword(const CodServer& server);
    // Opens a join-password sheet on the window, which joins the server on OK.
    void askJoinPassword(const CodServerPtr& server, QWidget& window);
    // The body of the refresh-all worker, which ends early when asked to stop.
    void refreshServerThread(std::stop_token stopToken);
    void refreshAllDidEnd();
    void showRefreshAllRunning(bool running);
    void stopRefreshAll();
    void startRefreshTimer(int seconds);

    // The tag of a scan: its game's place in the catalogue.
    int tagOf(const MasterScan& scan) const;
    // Starts the game's scan, unless it runs already.
    void startMasterScan(MasterScan& scan);
    void stopMasterScan(MasterScan& scan);
    // Starts the game's scan; its master's address may first be looked up.
    void startRefresh(MasterScan& scan);
    // What the scan reports, queued onto the UI thread.
    MasterScan::Reports masterScanReports(const MasterScan& scan);
    // Queues a hand-over of the lists unless one is queued already.
    void queueMasterListsHandOver();
    // Shows the running scans' counts and hands the lists to the open finders
    // (through masterListsChanged).
    void newServerFromMaster();
    void showScansProgress();
    // The scan ended: the bottom line tells how many servers it kept.
    void masterScanDidEnd(int tag, int kept);
    // The master's host does not resolve or its port is refused: "No response".
    void masterIsUnknown(int tag);
    // The master sent no list: "Try again..." and an alert.
    void masterSentNoList(int tag);
    // Shows the text in the game's label of the bottom line, after the game's name,
    // or, for showScanText, as it is.
    void showScanLabel(int tag, const QString& text);
    void showScanText(int tag, const QString& text);
    // Shows how the game's scan ended, and stops the indicator once no scan runs.
    void showScanEnd(int tag, const QString& text);
    void showServersRefreshIndicator(bool running);

    // First, so that it goes last: every worker that records into it ends before.
    HistoryStore m_history{HistoryStore::defaultPath()};
    FavouritesList m_myServers;
    FavouritesStore favouritesStore;
    // What start-up found of the stored favourites, and the unsaved ones an earlier
    // run left, told once the window shows.
    FavouritesStore::Loaded storedFavourites;
    std::optional<FavouritesStore::Loaded> unsavedFavourites;
    // An earlier run's recovery copy waits for the user's answer to the restore
    // prompt: until then, nothing replaces it.
    bool restoreUnanswered = false;
    // The user was told that a recovery copy could not be written.
    bool toldRecoveryCopyFailed = false;
    // The user answered the quit prompt: the run ends, and no prompt comes again.
    bool quitPromptAnswered = false;
    const QStringList m_AWEGameTypeArray;
    // Set while a hand-over of the master lists waits in the UI thread's queue: the
    // scans then queue no other, since that one copies the lists after their
    // appends. Declared before the scans, whose reports read it until they ended.
    std::atomic<bool> masterListsHandOverQueued = false;
    // The master scans, the engine they run on, and the one lock over their lists,
    // counts and running flags. Each scan is dropped from the engine as it is
    // destroyed, and the engine, destroyed after them, joins its thread; the scans'
    // reports use nothing of the controller but that lock and the queue of its UI thread.
    std::mutex masterListsLock;
    ScanEngine scanEngine;
    // One per game of the catalogue, by tag.
    std::vector<std::unique_ptr<MasterScan>> masterScans;
    // The game whose scan started last, by its finders' tag.
    std::optional<int> m_lastFetchedGame;
    std::unique_ptr<PreferenceController> _preferenceController;
    std::unique_ptr<GameRotation> _gameRotationWindow;
    Finders finders{*this};
    // Set by the refresh-all worker too, when a server's name changed.
    std::atomic<bool> m_listOfServersModified = false;
    const InstalledGames m_installedGames = InstalledGames::onThisDesktop();
    bool m_refreshAllInProgress = false;
    CodServerPtr m_currentServer;
    ServerConsole serverConsole{[this] { return m_currentServer; }};
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
    // The favourites whose single refresh waits or runs on the window's worker.
    std::set<const CodServer*> singleRefreshesUnderWay;
    // The single refreshes and the map listings that follow them; joined at quit,
    // before the members their jobs use go.
    WorkerQueue windowExchanges;
    // The watch rules, fed by the refreshes and scans above; gone before the favourites.
    Watches watches{*this, scanEngine, [this](const CodServerPtr& server) { joinWatchedServer(server); }};
};
