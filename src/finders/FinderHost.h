#pragma once

#include "finders/ScanProgress.h"
#include "history/HistoryStore.h"
#include "model/CodServer.h"
#include "model/GameKind.h"

#include <QList>
#include <QPixmap>
#include <QString>

#include <optional>

class QWidget;

// What the finders need of the application, which implements it: the master scans
// of the catalogue's games, each by its tag, its place in the catalogue (the lists they gathered, whether one runs, starting and stopping
// one by its game tag), and what becomes of a server picked in a finder. The
// application also tells the finders (Finders) when a scan starts and when the lists
// grow.
class FinderHost {
public:
    // Copies of the master lists, one per game by tag, taken together.
    using MasterLists = QList<QList<CodServerPtr>>;

    virtual MasterLists masterLists() const = 0;
    // Whether the scan of any game runs.
    virtual bool anyMasterIsRefreshing() const = 0;
    // Starts the scan of the game with the tag, unless it runs already.
    virtual void scanServers(int tag) = 0;
    // Asks the scan of the game with the tag to stop.
    virtual void scanServersStop(int tag) = 0;
    // Where the scan of the game with the tag stands.
    virtual ScanProgress scanProgress(int tag) const = 0;
    // Asks the local network for its game servers; the finder is told what answered.
    virtual void findLanServers() = 0;
    // The tag of the game whose scan started last in this run, if any did.
    virtual std::optional<int> lastFetchedGame() const = 0;

    // Joins the server with the games installed on this machine, as the main window's
    // Join does: a sheet on the window asks for the join password when the server
    // wants one, when Alt is held, or when the user chose to give one.
    virtual void joinServer(const CodServerPtr& server, QWidget& window, bool withPassword) = 0;
    // Adds a favourite; false, changing nothing, when the address is taken.
    virtual bool addServer(const QString& ip, const QString& name, const QString& pass) = 0;
    // The icon of a game; a null pixmap for a game without one.
    virtual QPixmap gameImage(GameKind kind) const = 0;
    // The icons of a server that asks for a password, and of one that runs PunkBuster.
    virtual QPixmap passwordImage() const = 0;
    virtual QPixmap punkbusterImage() const = 0;
    // The history of the servers: a finder records what its own queries answered, and
    // the player finder asks it where a player was seen.
    virtual HistoryStore& history() = 0;

protected:
    ~FinderHost() = default;
};
