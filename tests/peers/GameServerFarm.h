#pragma once

#include "peers/QueryLimiter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <unordered_map>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>

// Many simulated Quake-3-style game servers, each on its own loopback address from
// 127.1.0.1 upwards, all at one ephemeral port, served by one thread: an epoll loop
// over a few sockets that share that port on every address, and a queue of answers
// waiting for their server's delay. Each server answers "getstatus" with its own
// status (name with colour codes, map, gametype, players), with garbage, or not at
// all, and "getinfo" alike with its info (as quakestat asks); the farm counts the
// status queries each one received.
//
// Faults of the internet, each seeded: queries and answers lost on the way,
// duplicated answers, servers slower than a time-out and servers that limit the
// queries of one source address. A patient client keeps every server that answers
// with its status, whatever the faults: answeringAddresses is that truth.
//
// The sockets are few so that a farm of any size fits the limit of open files; each
// answer leaves from the address its query went to. Only queries from loopback
// addresses to the farm's own addresses are answered.
class GameServerFarm {
public:
    enum class Answer { Status, Garbage, Silent };
    enum class Limit { None, TwoPerTwoSeconds, BurstThenOnePerSecond };

    struct Server {
        QByteArray hostName;
        QByteArray mapName;
        QByteArray gametype = "dm";
        QByteArray gameName = "Call of Duty";
        QByteArray maxClients = "24";
        // Player names, with colour codes.
        QList<QByteArray> players = {};
        // More "\\key\\value" pairs of the status, after the ones above.
        QByteArray moreKeys = {};
        std::chrono::milliseconds answerDelay{0};
        Answer answer = Answer::Status;
        Limit limit = Limit::None;
        // Echoes the argument of "getstatus ARGUMENT" as the status key "challenge", as
        // ioquake3 and DarkPlaces servers do.
        bool echoesChallenge = false;
    };

    // What a generated farm looks like; the same seed gives the same servers.
    struct Variety {
        unsigned seed = 1;
        // The share of servers that never answer.
        double silentFraction = 0.0;
        // Each server answers after a delay drawn from minimumDelay to maximumDelay.
        std::chrono::milliseconds minimumDelay{0};
        std::chrono::milliseconds maximumDelay{0};
        int maximumPlayers = 12;
        // A spread drawn for each server and added to its delay.
        std::chrono::milliseconds jitter{0};
        // The share of servers whose delay lies between one and two time-outs instead.
        double lateFraction = 0.0;
        std::chrono::milliseconds timeout{500};
        // The shares of servers limited to two queries in two seconds, and to a burst
        // of ten then one a second.
        double limitedFraction = 0.0;
        double burstLimitedFraction = 0.0;
    };

    // The network's faults between the farm and its clients, each a share of the
    // datagrams, drawn from the seed.
    struct Faults {
        unsigned seed = 1;
        double queryLoss = 0.0;
        double answerLoss = 0.0;
        double duplicatedAnswers = 0.0;
    };

    // Servers with distinct names and a seeded choice of maps, gametypes, players,
    // delays and silent ones.
    static std::vector<Server> generate(int count, const Variety& variety);
    // The datagram a server answers "getstatus" with; empty for a silent one.
    static QByteArray answerOf(const Server& server);
    // The answer with the challenge echoed first in its status line.
    static QByteArray withChallenge(const QByteArray& answer, QByteArrayView challenge);
    // The datagram a server answers "getinfo" with; empty for a silent one.
    static QByteArray infoOf(const Server& server);

    // Opens the sockets and starts serving; throws when a socket cannot be opened.
    explicit GameServerFarm(std::vector<Server> servers);
    GameServerFarm(std::vector<Server> servers, Faults faults);
    ~GameServerFarm();
    GameServerFarm(const GameServerFarm&) = delete;
    GameServerFarm& operator=(const GameServerFarm&) = delete;

    int size() const { return static_cast<int>(servers.size()); }
    const Server& server(int index) const { return servers.at(static_cast<std::size_t>(index)); }
    // The server's IPv4 address, in host order, and the port every server shares.
    static quint32 host(int index);
    quint16 port() const { return sharedPort; }
    // "127.x.y.z:port".
    QString address(int index) const;
    // The master's records of the servers, in order (MasterServerPeer::record).
    QList<QByteArray> masterRecords() const;
    // The addresses of the servers that answer, in order.
    QStringList answeringAddresses() const;

    // The status queries that reached the server, or every server (those the faults
    // lost on the way included).
    int queriesReceivedBy(int index) const;
    int queriesReceived() const;
    // The most status queries that one server received within any span of that length.
    int mostQueriesWithin(std::chrono::milliseconds span) const;
    // The most status queries that the whole farm received within any span of that length.
    int mostFarmQueriesWithin(std::chrono::milliseconds span) const;
    // An answer sent: by which server, and how late it left against its due time (the
    // kernel's arrival of its query plus the server's delay). The lateness is the
    // farm's own share of a ping's error, when the machine keeps its loop from
    // sending on time.
    struct LateAnswer {
        int server;
        std::chrono::microseconds lateness;
    };
    // The answers sent since the last call, in the order they left.
    std::vector<LateAnswer> takeSendLateness();

private:
    struct PendingAnswer;

    static void addFaults(std::vector<Server>& servers, const Variety& variety);
    void openSockets();
    void serve();
    void receiveOn(int descriptor, std::vector<PendingAnswer>& pending);
    // The index of the server at the address a query went to, when it is one of the
    // farm's and the query came from this computer.
    std::optional<std::size_t> serverQueried(const sockaddr_in& from, const in_addr& to) const;
    // The address a query went to, from its control data.
    static std::optional<in_addr> destinationOf(msghdr& header);
    void sendDueAnswers(std::vector<PendingAnswer>& pending);
    void noteLateness(std::size_t server, std::chrono::steady_clock::duration lateness);
    void sendAnswer(const PendingAnswer& answer);
    // Takes a query that came from that address (counted when it asks the status);
    // whether the server answers it.
    bool takeQuery(std::size_t index, quint32 from, bool status);
    bool happens(double share);
    static int mostWithin(const std::vector<std::chrono::steady_clock::time_point>& sortedTimes,
                          std::chrono::milliseconds span);

    const std::vector<Server> servers;
    std::vector<QByteArray> answers;
    std::vector<QByteArray> infos;
    std::vector<int> descriptors;
    quint16 sharedPort = 0;
    int epoll = -1;
    std::atomic<bool> stopping = false;
    const Faults faults;
    // Touched by the serving thread only.
    std::mt19937 random;
    std::unordered_map<quint64, QueryLimiter> limiters;
    mutable std::mutex countsLock;
    std::vector<std::vector<std::chrono::steady_clock::time_point>> queryTimes;
    std::vector<LateAnswer> sendLateness;
    std::thread servingThread;
};
