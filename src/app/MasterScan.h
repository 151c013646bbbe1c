#pragma once

#include "model/CodServer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// One game's master scan: it fetches the game's list of servers from its master
// server, then queries the listed servers on worker threads, one thread per batch,
// keeping those that answer in the game's master list.
//
// The list, the count of the scan's threads still running and the running flag are
// guarded by the lock that all four games share (masterListsLock); the running flag
// and the stop flag may also be read without it. The scan owns its threads: a new
// start, a stop-and-join and the destruction wait for them to end.
class MasterScan {
public:
    enum class Game { CoD, UO, CoD2, CoD4 };

    // What a scan's threads report, called on those threads without the lock held.
    struct Reports {
        // The list grew or a thread ended: readers may take a new copy.
        std::function<void()> handOver;
        // The scan's last thread ended; the list holds that many servers.
        std::function<void(int kept)> scanEnded;
    };

    // The master's list of a game, fetched on the calling thread.
    struct ServerList {
        enum Outcome {
            // The master's host does not resolve or its port is refused: nothing was sent.
            NoMaster,
            // The master did not answer with a list.
            NoAnswer,
            Listed,
        };
        Outcome outcome = NoMaster;
        // The addresses worth querying, in the master's order.
        QStringList addresses;
    };

    MasterScan(Game game, std::mutex& masterListsLock);
    // Asks the threads to stop and waits for them.
    ~MasterScan();
    MasterScan(const MasterScan&) = delete;
    MasterScan& operator=(const MasterScan&) = delete;

    // The object name of the main window's label that shows the scan's progress.
    QString labelName() const;

    // A copy of the list, taken under the lock.
    QList<CodServerPtr> servers() const;
    // The running flag: true from the start of a scan to the end of its last thread.
    bool isRefreshing() const { return refreshing; }
    // Sets the running flag under the lock.
    void setRefreshing(bool value);

    // Starts a scan: waits for the threads of the previous one, then empties the list,
    // raises the running flag and clears the stop flag.
    void begin();
    // Resolves the master's host, checks its port, and asks it for its list.
    ServerList fetchServerList() const;
    // Starts one thread per batch, once the thread counter counts them all. Without
    // any batch the scan ends at once.
    void startThreads(const QList<QStringList>& batches, const Reports& reports);
    // Asks the threads to leave after the server each is querying.
    void requestStop() { mustStop = true; }
    // Asks the threads to stop and waits until they ended.
    void stopAndJoin();

    // The batches of the threads: batchSize addresses each (at least one), the last
    // one holding what remains.
    static QList<QStringList> batchesOf(const QStringList& addresses, int batchSize);
    // A master port: the leading integer of the text, accepted from 2 to 65534.
    static std::optional<int> masterPort(const QString& text);
    // A dotted IPv4 address unchanged, without look-up; otherwise the first IPv4
    // address of the host name, dotted; "" when there is none.
    static QString getIpFromString(const QString& host);
    // The addresses of a master's reply ("a.b.c.d:port;" each), or none when the reply
    // holds no ";" (an empty reply or an error text). A server listed twice is kept
    // once; addresses that cannot be a server's (in 0.0.0.0/8, multicast or above,
    // port 0) are left out.
    static std::optional<QStringList> addressesInReply(const QString& reply);

private:
    // One thread's work: query each server of the batch, keep the answering ones, hand
    // the list over after servers 0, 20, 40... and at the end.
    void threadedScanServers(const QStringList& batch, const Reports& reports);
    // The thread is done: the last one ends the scan.
    void threadEnded(const Reports& reports);
    // Under the lock the guard holds: clears the running flag, then, with the lock
    // released, reports the end and hands the list over.
    void endScan(std::unique_lock<std::mutex>& guard, const Reports& reports);

    const Game game;
    std::mutex& masterListsLock;
    // Guarded by masterListsLock. A std::vector so that readers get deep copies and
    // never share storage with the threads that append.
    std::vector<CodServerPtr> list;
    int numberOfActiveThreads = 0;
    std::atomic<bool> refreshing = false;
    std::atomic<bool> mustStop = false;
    // Touched on the UI thread only.
    std::vector<std::jthread> threads;
};
