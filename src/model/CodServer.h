#pragma once

#include "model/CodPlayer.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QDataStream;
struct InstalledGames;
class CodServer;
using CodServerPtr = std::shared_ptr<CodServer>;
// Every key and value of a status answer, in answer order.
using ServerRules = QList<std::pair<QString, QString>>;

// One game server: its identity (name, address, rcon password), what its last status
// answer said, the listings fetched through its remote console, and the outcome of the
// last network exchange.
//
// Records are shared between the UI thread and worker threads. Every field is replaced
// whole under the record's own lock and every getter returns a copy, so a reader sees
// the old or the new value and a player list it holds stays valid after a refresh
// installs a new one. Callers never lock.
class CodServer : public std::enable_shared_from_this<CodServer> {
public:
    // Outcome of the last exchange, as held in commError.
    enum CommError { NeverContacted = 0, Answered = 1, Unreachable = 2, RconFailed = 3 };

    CodServer();
    CodServer(const CodServer&) = delete;
    CodServer& operator=(const CodServer&) = delete;

    static CodServerPtr create();

    // A record as read back from the archive: no lastUpdate, never contacted.
    struct Restored {};
    explicit CodServer(Restored);

    int commError() const;
    QString serverName() const;
    QString serverIp() const;
    QString serverPass() const;
    QString serverPing() const;
    bool serverPassOwner() const;
    QList<CodPlayerPtr> serverPlayers() const;
    ServerRules serverRules() const;
    QStringList cfgList() const;
    QStringList mapList() const;
    std::optional<QDateTime> lastUpdate() const;
    // The last answer's date and time as the user's locale writes them, or empty.
    QString lastUpdateText() const;
    QString serverAdmin() const;
    QString serverEmail() const;
    QString serverGametype() const;
    QString serverGameName() const;
    QString serverLocation() const;
    QString serverMapName() const;
    QString serverFriendlyFire() const;
    QString serverKillCam() const;
    QString serverShortVersion() const;
    QString serverMaxClients() const;
    QString serverPunkBuster() const;
    QString serverPure() const;
    QString serverWebSite() const;
    QString serverPassActive() const;
    QString serverProtocol() const;
    // The name the server gave itself in its last answer; empty before any.
    QString serverHostName() const;
    // The address the last exchange reached when the address text names it otherwise
    // (a host name); empty when it is the address text itself, or could not be found.
    QString serverResolvedIp() const;
    // True when the user typed the favourite's name: the server's own name then never
    // replaces it.
    bool serverNameTyped() const;
    // The name that tells the server in a message: its name, or its address while it
    // has none.
    QString shownName() const;
    // How many more refusals of the rcon password clear it.
    int refusalsLeftBeforeForgettingPass() const;

    void setCommError(int value);
    void setServerName(const QString& value);
    void setServerIp(const QString& value);
    void setServerPass(const QString& value);
    void setServerPing(const QString& value);
    void setServerPassOwner(bool value);
    void setServerPlayers(const QList<CodPlayerPtr>& value);
    void setServerRules(const ServerRules& value);
    void setLastUpdate(const QDateTime& value);
    void setServerAdmin(const QString& value);
    void setServerEmail(const QString& value);
    void setServerGametype(const QString& value);
    void setServerGameName(const QString& value);
    void setServerLocation(const QString& value);
    void setServerMapName(const QString& value);
    void setServerFriendlyFire(const QString& value);
    void setServerKillCam(const QString& value);
    void setServerShortVersion(const QString& value);
    void setServerMaxClients(const QString& value);
    void setServerPunkBuster(const QString& value);
    void setServerPure(const QString& value);
    void setServerWebSite(const QString& value);
    void setServerPassActive(const QString& value);
    void setServerProtocol(const QString& value);
    void setServerNameTyped(bool value);
    void setServerResolvedIp(const QString& value);
    // Keeps the name the server gave itself, and shows it as the record's name unless
    // the user typed one.
    void learnHostName(const QString& hostName);

    // Two records are the same server exactly when their address texts are equal.
    bool isEqual(const CodServer& other) const;
    bool operator==(const CodServer& other) const { return isEqual(other); }

    // True when some player's colour-free name contains the text, ignoring case.
    bool serverHasPlayer(const QString& text) const;

    // The archived form: the name, the address and the rcon password, in that order.
    void encodeWithCoder(QDataStream& out) const;
    // A record read back from its archived form, or null when the stream is short
    // or damaged. It has never been contacted and has no lastUpdate.
    static CodServerPtr initWithCoder(QDataStream& in);

    // One datagram exchange with the server: returns the assembled answer or an
    // error text, and leaves the outcome in commError.
    QString sendCommandToServer(const QString& command, int ofType);

    // The UT2004 query, for a server that did not answer the status query: probes its
    // query port at the game port + 1, then + 10, and where a server answers fills
    // the record from its information, rules and players. commError ends at 2 when
    // no server answers or an answer was wrong. Like the status query, it returns at
    // once while another refresh of the record is under way.
    void utServerRefresh();
    // One UT2004 query of the given kind (UtProtocol::QueryKind) at the game port +
    // withPortAdd: one request, at most one answer datagram.
    void sendUtCommandToServer(int kind, int withPortAdd);

    // Hands the address, with the join password when it is not empty, to the
    // server's game so that the game connects; shows an alert when the game is not
    // installed, cannot be joined or does not start, and then returns false. Leaves
    // the record unchanged.
    bool joinServerWithPass(const QString& password, const InstalledGames& games) const;

private:
    // The plain text fields, held in one array so that a status query can empty them
    // together and each accessor stays a one-liner.
    enum TextField {
        Name, Ip, Pass, Ping, HostName, ResolvedIp,
        Admin, Email, Gametype, GameName, Location, MapName, FriendlyFire, KillCam,
        ShortVersion, MaxClients, PunkBuster, Pure, WebSite, PassActive, Protocol,
        TextFieldCount
    };

    QString text(TextField field) const;
    void setText(TextField field, const QString& value);
    // Counts one "Bad rconpassword" answer; true when this one clears the password.
    bool countBadRconAnswer();
    // The refusal that clears the password.
    static constexpr int refusalsThatClearPass = 7;

    mutable std::mutex fieldsLock;
    int m_commError = NeverContacted;
    int badRconCounter = 0;
    bool m_serverPassOwner = false;
    bool m_serverNameTyped = false;
    std::array<QString, TextFieldCount> texts;
    QList<CodPlayerPtr> m_serverPlayers;
    ServerRules m_serverRules;
    QStringList m_cfgList;
    QStringList m_mapList;
    std::optional<QDateTime> m_lastUpdate;

    // The status query and the remote listings, defined beside the transport in src/net/.
    // They hand the record itself to a timer or a listener, so the record must be held
    // by a CodServerPtr (as create() and initWithCoder() make it).
public:
    // Queries the server's status into the record. For a server whose rcon password
    // is known it then fetches the configuration listing at once; the map listing is
    // left to the caller (mapListingIsDue). A refresh asked for while another of the
    // same record is under way returns at once.
    void serverRefresh();
    // The status query and, when the server does not answer it, the UT2004 query, as
    // one refresh: no other refresh of the record starts between the two. False,
    // having queried nothing, when another refresh of the record is under way.
    bool refreshTryingUt2004();
    // Whether the last status query calls for the map listing, which the window asks
    // for one double-command latency after a refresh it made: the server answered and
    // its rcon password was known.
    bool mapListingIsDue() const { return mapListingWanted; }
    // Fills the record from a status answer that came after that round trip: the
    // exchange worked, the ping, lastUpdate, the answer's fields (its host name as
    // learnHostName() takes it) and its players. What an earlier answer left and this
    // one does not say is emptied.
    void statusAnswered(const QString& answer, double roundTripMilliseconds);
    // The server did not answer its status query: the status fields and players are
    // emptied, the ping shows none and commError is 2.
    void statusUnanswered();
    // A refresh made of steps on other threads (the refresh-all run) marks the record
    // as being refreshed for its whole course, as a single refresh does: false, marking
    // nothing, while another refresh is under way. endRefresh() ends the mark.
    bool beginRefresh();
    void endRefresh();
    // The text without colour codes: a caret followed by one digit.
    static QString clearColoredName(const QString& name);
    // Rebuilds cfgList from the server's "fdir" listing of configuration files.
    void cfgListRefresh();
    // Rebuilds mapList from the server's "fdir" listing of its game's maps, then tells
    // the map-list listener (MapListListener) on the UI thread.
    void mapListRefresh();

private:
    // Runs the query as the record's only refresh under way; false, running nothing,
    // when another one is (on any thread, this one included).
    bool runAsOnlyRefresh(const std::function<void()>& query);
    void queryStatus();
    void queryUt2004();
    // Empties the fifteen fields that a status answer fills, and its rules.
    void clearStatusFields();
    void setCfgList(const QStringList& value);
    void setMapList(const QStringList& value);

    std::atomic<bool> refreshUnderWay = false;
    std::atomic<bool> mapListingWanted = false;
};

size_t qHash(const CodServer& server, size_t seed = 0);
