#include "peers/GameServerFarm.h"

#include "net/KernelArrival.h"
#include "net/QuakeProtocol.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>
#include <utility>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray statusRequest = QuakeProtocol::connectionlessHeader + "getstatus";
const QByteArray infoRequest = QuakeProtocol::connectionlessHeader + "getinfo";
// Long enough to pass for an answer, but no status answer.
const QByteArray garbage("\x01\x02garbage\x00\xfe instead of a status\n", 32);

// The loop wakes at least this often to see whether it must stop.
constexpr int longestWaitMilliseconds = 20;

template <typename Item>
const Item& pick(std::mt19937& random, const std::vector<Item>& items)
{
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

// The sockets that share the farm's port: the kernel spreads the queries over them.
constexpr int sharedSockets = 8;
// Each socket's receive buffer: as large as the system lets a user have, so that a
// scan's burst of queries is not dropped before the farm reads it.
constexpr int receiveBufferBytes = 4 << 20;

constexpr quint32 firstHost = (127U << 24) | (1U << 16) | 1U;

// A socket on every address at the port, or at a free port when it is 0. The first
// socket takes a port that no other socket uses, the others join it there: a socket
// that allows sharing while it picks its port could land on another farm's port.
int sharedSocket(quint16 port)
{
    const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    const auto allowSharing = [&] { return ::setsockopt(descriptor, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on) == 0; };
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (descriptor < 0 || ::setsockopt(descriptor, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0
        || !KernelArrival::requestOn(descriptor)
        || ::setsockopt(descriptor, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes) != 0
        || (port != 0 && !allowSharing()) || ::bind(descriptor, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || (port == 0 && !allowSharing())) {
        if (descriptor >= 0)
            ::close(descriptor);
        throw std::runtime_error("cannot open a farm socket");
    }
    return descriptor;
}

quint16 portOf(int descriptor)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

}  // namespace

// Pending answers are kept as a heap, the earliest due on top.
struct GameServerFarm::PendingAnswer {
    Clock::time_point due;
    int descriptor;
    std::size_t server;
    sockaddr_in to;
    // The status, or else the info.
    bool status;
    // The challenge to echo, when the server echoes one.
    QByteArray challenge;

    static bool isDueLater(const PendingAnswer& a, const PendingAnswer& b) { return a.due > b.due; }
};

std::vector<GameServerFarm::Server> GameServerFarm::generate(int count, const Variety& variety)
{
    static const std::vector<QByteArray> colours = {"^1", "^2", "^3", "^4", "^5", "^7"};
    static const std::vector<QByteArray> words = {"Fort", "Bunker", "Trench", "Ridge", "Harbor", "Depot"};
    static const std::vector<QByteArray> maps = {"mp_carentan", "mp_brecourt", "MP_Dawnville", "mp_harbor",
                                                 "mp_pavlov", "mp_railyard"};
    static const std::vector<QByteArray> gametypes = {"dm", "tdm", "sd", "hq", "SD", "ctf", ""};
    static const std::vector<QByteArray> clans = {"", "[ZV]", "^1=ELT=^7"};
    std::mt19937 random(variety.seed);
    std::bernoulli_distribution silent(variety.silentFraction);
    std::uniform_int_distribution<qint64> delay(variety.minimumDelay.count(), variety.maximumDelay.count());
    std::uniform_int_distribution<int> playerCount(0, variety.maximumPlayers);

    std::vector<Server> servers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Server& server = servers[static_cast<std::size_t>(i)];
        server.hostName = pick(random, colours) + pick(random, words) + "^7 #" + QByteArray::number(i);
        server.mapName = pick(random, maps);
        server.gametype = pick(random, gametypes);
        for (int p = playerCount(random); p > 0; --p)
            server.players.append(pick(random, clans) + pick(random, colours) + "Player" + QByteArray::number(i) + "-"
                                  + QByteArray::number(p));
        server.answerDelay = std::chrono::milliseconds(delay(random));
        server.answer = silent(random) ? Answer::Silent : Answer::Status;
    }
    addFaults(servers, variety);
    return servers;
}

// Drawn apart from the servers themselves, so that a farm without faults stays the
// farm it always was for its seed.
void GameServerFarm::addFaults(std::vector<Server>& servers, const Variety& variety)
{
    std::mt19937 random(variety.seed ^ 0x5A17u);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    std::uniform_int_distribution<qint64> jitter(0, variety.jitter.count());
    std::uniform_int_distribution<qint64> lateDelay(variety.timeout.count() + 1, 2 * variety.timeout.count() - 1);
    for (Server& server : servers) {
        if (share(random) < variety.lateFraction)
            server.answerDelay = std::chrono::milliseconds(lateDelay(random));
        server.answerDelay += std::chrono::milliseconds(jitter(random));
        const double limitDraw = share(random);
        if (limitDraw < variety.limitedFraction)
            server.limit = Limit::TwoPerTwoSeconds;
        else if (limitDraw < variety.limitedFraction + variety.burstLimitedFraction)
            server.limit = Limit::BurstThenOnePerSecond;
    }
}

QByteArray GameServerFarm::answerOf(const Server& server)
{
    if (server.answer == Answer::Silent)
        return {};
    if (server.answer == Answer::Garbage)
        return garbage;
    QByteArray text = "\\sv_hostname\\" + server.hostName + "\\gamename\\" + server.gameName + "\\mapname\\"
                      + server.mapName + "\\g_gametype\\" + server.gametype + "\\sv_maxclients\\" + server.maxClients
                      + server.moreKeys + "\n";
    for (qsizetype i = 0; i < server.players.size(); ++i)
        text += QByteArray::number(3 * i) + " " + QByteArray::number(40 + i) + " \"" + server.players[i] + "\"\n";
    return GameServerPeer::statusDatagram(text);
}

QByteArray GameServerFarm::withChallenge(const QByteArray& answer, QByteArrayView challenge)
{
    const qsizetype statusLine = answer.indexOf('\n') + 1;
    if (statusLine <= 0)
        return answer;
    return answer.left(statusLine) + "\\challenge\\" + challenge.toByteArray() + answer.mid(statusLine);
}

QByteArray GameServerFarm::infoOf(const Server& server)
{
    if (server.answer != Answer::Status)
        return answerOf(server);
    return QuakeProtocol::connectionlessHeader + "infoResponse\n\\hostname\\" + server.hostName + "\\mapname\\"
           + server.mapName + "\\gametype\\" + server.gametype + "\\clients\\"
           + QByteArray::number(server.players.size()) + "\\sv_maxclients\\" + server.maxClients;
}

GameServerFarm::GameServerFarm(std::vector<Server> farmServers)
    : GameServerFarm(std::move(farmServers), Faults())
{
}

GameServerFarm::GameServerFarm(std::vector<Server> farmServers, Faults faults)
    : servers(std::move(farmServers))
    , faults(faults)
    , random(faults.seed)
    , queryTimes(servers.size())
{
    for (const Server& each : servers) {
        answers.push_back(answerOf(each));
        infos.push_back(infoOf(each));
    }
    openSockets();
    servingThread = std::thread([this] { serve(); });
}

GameServerFarm::~GameServerFarm()
{
    stopping = true;
    if (servingThread.joinable())
        servingThread.join();
    for (const int descriptor : descriptors)
        ::close(descriptor);
    if (epoll >= 0)
        ::close(epoll);
}

void GameServerFarm::openSockets()
{
    epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll < 0)
        throw std::runtime_error("cannot create the farm's epoll");
    for (int i = 0; i < sharedSockets; ++i) {
        descriptors.push_back(sharedSocket(sharedPort));
        sharedPort = portOf(descriptors.back());
        epoll_event interest{};
        interest.events = EPOLLIN;
        interest.data.fd = descriptors.back();
        if (::epoll_ctl(epoll, EPOLL_CTL_ADD, descriptors.back(), &interest) != 0)
            throw std::runtime_error("cannot watch a farm socket");
    }
}

// Addresses of their own keep the farm off 127.0.0.1, whose ports other peers use.
// The whole 127.0.0.0/8 range reaches this computer's loopback interface without any
// set-up.
quint32 GameServerFarm::host(int index)
{
    return firstHost + static_cast<quint32>(index);
}

QString GameServerFarm::address(int index) const
{
    const quint32 value = host(index);
    return QStringLiteral("%1.%2.%3.%4:%5")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF)
        .arg(port());
}

QList<QByteArray> GameServerFarm::masterRecords() const
{
    QList<QByteArray> records;
    for (int i = 0; i < size(); ++i)
        records.append(MasterServerPeer::record(host(i), port()));
    return records;
}

QStringList GameServerFarm::answeringAddresses() const
{
    QStringList addresses;
    for (int i = 0; i < size(); ++i) {
        if (server(i).answer != Answer::Silent)
            addresses.append(address(i));
    }
    return addresses;
}

int GameServerFarm::queriesReceivedBy(int index) const
{
    std::lock_guard guard(countsLock);
    return static_cast<int>(queryTimes.at(static_cast<std::size_t>(index)).size());
}

int GameServerFarm::queriesReceived() const
{
    std::lock_guard guard(countsLock);
    std::size_t total = 0;
    for (const auto& times : queryTimes)
        total += times.size();
    return static_cast<int>(total);
}

int GameServerFarm::mostQueriesWithin(std::chrono::milliseconds span) const
{
    std::lock_guard guard(countsLock);
    int most = 0;
    for (const auto& times : queryTimes)
        most = std::max(most, mostWithin(times, span));
    return most;
}

int GameServerFarm::mostFarmQueriesWithin(std::chrono::milliseconds span) const
{
    std::vector<Clock::time_point> all;
    {
        std::lock_guard guard(countsLock);
        for (const auto& times : queryTimes)
            all.insert(all.end(), times.cbegin(), times.cend());
    }
    std::sort(all.begin(), all.end());
    return mostWithin(all, span);
}

int GameServerFarm::mostWithin(const std::vector<Clock::time_point>& sortedTimes, std::chrono::milliseconds span)
{
    std::ptrdiff_t most = 0;
    for (auto first = sortedTimes.cbegin(); first != sortedTimes.cend(); ++first)
        most = std::max(most, std::lower_bound(first, sortedTimes.cend(), *first + span) - first);
    return static_cast<int>(most);
}

bool GameServerFarm::happens(double share)
{
    return share > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(random) < share;
}

// Every status query is counted as it comes; the network may then lose any query,
// and a limited server drops those past its limit, status and info alike.
bool GameServerFarm::takeQuery(std::size_t index, quint32 from, bool status)
{
    const Clock::time_point now = Clock::now();
    if (status) {
        std::lock_guard guard(countsLock);
        queryTimes[index].push_back(now);
    }
    if (happens(faults.queryLoss))
        return false;
    if (servers[index].limit == Limit::None)
        return true;
    const quint64 key = quint64{from} << 32 | index;
    auto limiter = limiters.find(key);
    if (limiter == limiters.end()) {
        const QueryLimiter fresh = servers[index].limit == Limit::TwoPerTwoSeconds
                                       ? QueryLimiter::twoPerTwoSeconds()
                                       : QueryLimiter::burstThenOnePerSecond();
        limiter = limiters.emplace(key, fresh).first;
    }
    return limiter->second.admit(now);
}

void GameServerFarm::serve()
{
    std::vector<PendingAnswer> pending;
    std::vector<epoll_event> ready(256);
    while (!stopping) {
        int wait = longestWaitMilliseconds;
        if (!pending.empty()) {
            const auto untilDue = std::chrono::ceil<std::chrono::milliseconds>(pending.front().due - Clock::now());
            wait = static_cast<int>(std::clamp<qint64>(untilDue.count(), 0, longestWaitMilliseconds));
        }
        const int count = ::epoll_wait(epoll, ready.data(), static_cast<int>(ready.size()), wait);
        for (int i = 0; i < count; ++i)
            receiveOn(ready[static_cast<std::size_t>(i)].data.fd, pending);
        sendDueAnswers(pending);
    }
}

// An answer is due its server's delay after the kernel received the query, however
// long the query waited for the loop.
void GameServerFarm::receiveOn(int descriptor, std::vector<PendingAnswer>& pending)
{
    char buffer[2048];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo)) + KernelArrival::controlBytes];
    const std::chrono::nanoseconds steadyMinusReal = KernelArrival::steadyMinusRealTime();
    for (;;) {
        sockaddr_in from{};
        iovec piece{buffer, sizeof buffer};
        msghdr header{};
        header.msg_name = &from;
        header.msg_namelen = sizeof from;
        header.msg_iov = &piece;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(descriptor, &header, 0);
        if (size < 0)
            return;
        const std::optional<in_addr> destination = destinationOf(header);
        if (!destination)
            continue;
        const std::optional<std::size_t> index = serverQueried(from, *destination);
        const QByteArray request(buffer, static_cast<qsizetype>(size));
        const bool status = request.startsWith(statusRequest);
        if (!index || (!status && !request.startsWith(infoRequest)))
            continue;
        if (!takeQuery(*index, ntohl(from.sin_addr.s_addr), status))
            continue;
        if (answers[*index].isEmpty())
            continue;
        const QByteArray challenge = status && servers[*index].echoesChallenge && request.size() > statusRequest.size() + 1
                                         ? request.mid(statusRequest.size() + 1)
                                         : QByteArray();
        const Clock::time_point arrival = KernelArrival::of(header, steadyMinusReal).value_or(Clock::now());
        pending.push_back({arrival + servers[*index].answerDelay, descriptor, *index, from, status, challenge});
        std::push_heap(pending.begin(), pending.end(), PendingAnswer::isDueLater);
    }
}

std::optional<in_addr> GameServerFarm::destinationOf(msghdr& header)
{
    for (cmsghdr* control = CMSG_FIRSTHDR(&header); control; control = CMSG_NXTHDR(&header, control)) {
        if (control->cmsg_level == IPPROTO_IP && control->cmsg_type == IP_PKTINFO) {
            in_pktinfo information{};
            std::memcpy(&information, CMSG_DATA(control), sizeof information);
            return information.ipi_addr;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> GameServerFarm::serverQueried(const sockaddr_in& from, const in_addr& to) const
{
    const quint32 index = ntohl(to.s_addr) - firstHost;
    if (ntohl(from.sin_addr.s_addr) >> 24 != 127 || index >= servers.size())
        return std::nullopt;
    return index;
}

void GameServerFarm::sendDueAnswers(std::vector<PendingAnswer>& pending)
{
    const Clock::time_point now = Clock::now();
    while (!pending.empty() && pending.front().due <= now) {
        std::pop_heap(pending.begin(), pending.end(), PendingAnswer::isDueLater);
        if (!happens(faults.answerLoss)) {
            sendAnswer(pending.back());
            noteLateness(pending.back().server, Clock::now() - pending.back().due);
            if (happens(faults.duplicatedAnswers))
                sendAnswer(pending.back());
        }
        pending.pop_back();
    }
}

void GameServerFarm::noteLateness(std::size_t server, Clock::duration lateness)
{
    std::lock_guard guard(countsLock);
    sendLateness.push_back({static_cast<int>(server), std::chrono::duration_cast<std::chrono::microseconds>(lateness)});
}

std::vector<GameServerFarm::LateAnswer> GameServerFarm::takeSendLateness()
{
    std::lock_guard guard(countsLock);
    return std::exchange(sendLateness, {});
}

// Each answer leaves from the address of the server that answers.
void GameServerFarm::sendAnswer(const PendingAnswer& answer)
{
    const QByteArray& stored = answer.status ? answers[answer.server] : infos[answer.server];
    const QByteArray datagram = answer.challenge.isEmpty() ? stored : withChallenge(stored, answer.challenge);
    iovec piece{const_cast<char*>(datagram.constData()), static_cast<size_t>(datagram.size())};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr header{};
    header.msg_name = const_cast<sockaddr_in*>(&answer.to);
    header.msg_namelen = sizeof answer.to;
    header.msg_iov = &piece;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    cmsghdr* source = CMSG_FIRSTHDR(&header);
    source->cmsg_level = IPPROTO_IP;
    source->cmsg_type = IP_PKTINFO;
    source->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo information{};
    information.ipi_spec_dst.s_addr = htonl(host(static_cast<int>(answer.server)));
    std::memcpy(CMSG_DATA(source), &information, sizeof information);
    ::sendmsg(answer.descriptor, &header, 0);
}
