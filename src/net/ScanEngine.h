#pragma once

#include "net/PacedScan.h"

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class ScanSockets;

// The master scans' one worker thread: an epoll loop over the non-blocking sockets of
// every running scan. Each scan fetches its master's list and queries the listed
// servers as the list grows (PacedScan); the loop reads every socket as soon as it is
// readable, a bounded batch at a time so that no flood of datagrams holds up the
// others, and wakes for the next query due, time-out or progress report.
//
// Scans report on the engine's thread. The engine's calls may be made from any
// thread but its own.
class ScanEngine {
public:
    using ScanId = quint32;

    ScanEngine();
    // Drops the scans still running, without their reports, and joins the thread:
    // owners abandon their scans first.
    ~ScanEngine();
    ScanEngine(const ScanEngine&) = delete;
    ScanEngine& operator=(const ScanEngine&) = delete;

    // Starts a scan: its master is asked for the list at once.
    ScanId start(const ScanSettings& settings, ScanReports reports);
    // Starts a scan of the given servers, at the pace and with the time-out and the
    // retries of a master scan; no master is asked.
    ScanId query(const QList<ServerAddress>& servers, const ScanSettings& settings, ScanReports reports);
    // Asks the scan to query nothing more; it ends once its queries under way
    // answered or timed out, within one time-out.
    void stop(ScanId scan);
    // Ends the scan now, with its last report, and returns once it is gone.
    void abandon(ScanId scan);

private:
    struct RunningScan;

    void run();
    void post(std::function<void()> command);
    void runCommands();
    void begin(ScanId id, const ScanSettings& settings, ScanReports reports);
    void beginQueries(ScanId id, const QList<ServerAddress>& servers, const ScanSettings& settings,
                      ScanReports reports);
    void readSocket(quint64 tag);
    void advanceScans();
    void finish(ScanId id);
    int millisecondsToWait() const;

    const int epoll;
    const int wake;
    std::mutex commandsLock;
    std::vector<std::function<void()>> commands;
    // Touched by the engine's thread only.
    std::map<ScanId, std::unique_ptr<RunningScan>> scans;
    bool quitting = false;
    std::atomic<ScanId> lastScan = 0;
    std::thread thread;
};
