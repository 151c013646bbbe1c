#pragma once

#include "model/CodServer.h"
#include "net/GameMasters.h"
#include "net/ScanEngine.h"
#include "model/GameDescription.h"
#include "platform/HostLookups.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// One game's master scan: it asks the game's master servers for their lists of
// servers, all at once, and queries the listed servers on the scan engine as the
// lists arrive, keeping those that answer in the game's master list and what became
// of each master.
//
// The list, the counts and the running flag are guarded by the lock that every
// game's scan shares (masterListsLock); the running flag may also be read without it.
class MasterScan {
public:
    // What the scan reports, called on the engine's thread without the lock held.
    struct Reports {
        // The counts changed, ten times a second at most: the list may have grown.
        std::function<void(const ScanCounts& counts)> progressed;
        // The scan ended; the list holds that many servers.
        std::function<void(int kept)> scanEnded;
        // The master sent no list: the scan ended without any server.
        std::function<void()> listMissing;
        // The master's host does not resolve or its port is refused: the scan ended
        // and nothing was sent.
        std::function<void()> masterUnknown;
        // The server answered and was kept in the list (may be empty).
        std::function<void(const CodServer& server)> answered;
    };


    // The scan of a game of the catalogue, which outlives it.
    MasterScan(const GameDescription& game, ScanEngine& engine, std::mutex& masterListsLock);
    // Abandons a running scan.
    ~MasterScan();
    MasterScan(const MasterScan&) = delete;
    MasterScan& operator=(const MasterScan&) = delete;

    const GameDescription& game() const { return m_game; }
    // The object name of the main window's label that shows the scan's progress.
    QString labelName() const;

    // A copy of the list, taken under the lock.
    QList<CodServerPtr> servers() const;
    // What became of each master of the running scan, or of the last one, in the
    // order their lists ended; a master whose host was not found comes first.
    QList<MasterOutcome> masterOutcomes() const;
    // The counts of the running scan, or of the last one.
    ScanCounts progress() const;
    // The running flag: true from the start of a scan to its end.
    bool isRefreshing() const { return refreshing; }
    // Sets the running flag under the lock.
    void setRefreshing(bool value);

    // Starts a scan: empties the list and the counts, and raises the running flag.
    void begin();
    // Takes the masters the game asks (GameMasters), resolves their hosts and starts
    // the scan on the engine, at the pace and with the time-out of the settings. Host names are looked
    // up on threads of the scan's own, so the window never waits for a name server;
    // the scan starts once every address came back to the calling thread, with the
    // masters that have one.
    void start(const Reports& reports);
    // Asks the scan to query nothing more; it ends within one time-out. A scan still
    // waiting for its master's address ends at once, with nothing listed.
    void requestStop();
    // Whether a stop was asked since the scan began.
    bool stopWasRequested() const { return stopRequested; }
    // Ends a running scan now, with its report, and returns once the engine dropped it
    // and the look-up of the master's address ended.
    void stopAndJoin();
    // Replaces the look-up of host names (getIpFromString), for the whole process.
    static void setHostLookup(HostLookups::Lookup lookup);

    // The settings of a scan of these masters: the time-out and the pace of the
    // preferences.
    static ScanSettings settingsFor(const QList<MasterSource>& masters);
    // The same for a game's servers: each query carries a challenge when they echo it.
    static ScanSettings settingsFor(const GameDescription& game, const QList<MasterSource>& masters);

    // A dotted IPv4 address unchanged, without look-up; otherwise the first IPv4
    // address of the host name, dotted; "" when there is none.
    static QString getIpFromString(const QString& host);

private:
    void masterLookedUp(qsizetype master, const QString& address);
    void startWhenAllLookedUp();
    void startOnEngine(const QList<MasterSource>& masters, const Reports& reports);
    void told(const MasterOutcome& outcome);
    void endWithoutMaster(const Reports& reports);
    ScanReports engineReports(const Reports& reports);
    void keep(const CodServerPtr& server);
    void progressed(const ScanCounts& counts, const Reports& reports);
    void ended(const ScanCounts& counts, bool masterListedNothing, const Reports& reports);

    const GameDescription& m_game;
    ScanEngine& engine;
    std::mutex& masterListsLock;
    // Guarded by masterListsLock. A std::vector so that readers get deep copies and
    // never share storage with the engine's thread that appends.
    std::vector<CodServerPtr> list;
    ScanCounts counts;
    QList<MasterOutcome> outcomes;
    std::atomic<bool> refreshing = false;
    // The engine's scan and whether it was asked to stop, touched on the UI thread only.
    std::optional<ScanEngine::ScanId> engineScan;
    // The reports of a scan that waits for its masters' addresses, the masters, and
    // the look-ups under way; touched on the UI thread only.
    std::optional<Reports> reportsAfterLookup;
    QList<MasterToAsk> mastersLookedUp;
    std::vector<std::unique_ptr<HostLookups>> masterLookups;
    int lookupsLeft = 0;
    bool stopRequested = false;
};
