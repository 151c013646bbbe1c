#include "app/MasterScan.h"

#include "app/Preferences.h"
#include "model/TextValue.h"
#include "net/QuakeProtocol.h"

#include <QSet>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace {

// What tells the four games' scans apart.
struct GameRow {
    int requestType;
    QString hostKey;
    QString portKey;
    QString labelName;
};

const GameRow& rowOf(MasterScan::Game game)
{
    using namespace QuakeProtocol;
    static const GameRow rows[] = {
        {CodMasterList, "CoD Master Server", "CoD Master Server Port", "numberOfCodServerToScan"},
        {UOMasterList, "UO Master Server", "UO Master Server Port", "numberOfUOServerToScan"},
        {Cod2MasterList, "CoD2 Master Server", "CoD2 Master Server Port", "numberOfCod2ServerToScan"},
        {Cod4MasterList, "CoD4 Master Server", "CoD4 Master Server Port", "numberOfCod4ServerToScan"},
    };
    return rows[static_cast<int>(game)];
}

// A thread hands the list over after its servers 0, 20, 40...
constexpr qsizetype handOverEvery = 20;

std::optional<in_addr> dottedAddress(const QString& text)
{
    in_addr address{};
    if (::inet_pton(AF_INET, text.toLatin1().constData(), &address) != 1)
        return std::nullopt;
    return address;
}

// Whether "a.b.c.d:port" can be a game server's address: not in 0.0.0.0/8 (which
// reaches this computer), not multicast, reserved or broadcast, and not port 0.
bool canBeServerAddress(const QString& address)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon < 0)
        return false;
    const std::optional<in_addr> ip = dottedAddress(address.left(colon));
    bool isNumber = false;
    const int port = address.mid(colon + 1).toInt(&isNumber);
    if (!ip || !isNumber || port <= 0 || port > 65535)
        return false;
    const quint32 firstByte = ntohl(ip->s_addr) >> 24;
    return firstByte != 0 && firstByte < 224;
}

}  // namespace

MasterScan::MasterScan(Game game, std::mutex& masterListsLock)
    : game(game)
    , masterListsLock(masterListsLock)
{
}

MasterScan::~MasterScan()
{
    stopAndJoin();
}

QString MasterScan::labelName() const
{
    return rowOf(game).labelName;
}

QList<CodServerPtr> MasterScan::servers() const
{
    std::lock_guard guard(masterListsLock);
    return QList<CodServerPtr>(list.cbegin(), list.cend());
}

void MasterScan::setRefreshing(bool value)
{
    std::lock_guard guard(masterListsLock);
    refreshing = value;
}

void MasterScan::begin()
{
    threads.clear();
    {
        std::lock_guard guard(masterListsLock);
        numberOfActiveThreads = 0;
        refreshing = true;
        list.clear();
    }
    mustStop = false;
}

MasterScan::ServerList MasterScan::fetchServerList() const
{
    const GameRow& row = rowOf(game);
    const Preferences& store = Preferences::standard();
    const QString host = getIpFromString(store.stringForKey(row.hostKey));
    const QString port = store.stringForKey(row.portKey);
    if (host.isEmpty() || !masterPort(port))
        return {ServerList::NoMaster, {}};

    const CodServerPtr master = CodServer::create();
    master->setServerIp(host + u':' + port);
    const std::optional<QStringList> addresses =
        addressesInReply(master->sendCommandToServer(QStringLiteral(" "), row.requestType));
    if (!addresses)
        return {ServerList::NoAnswer, {}};
    return {ServerList::Listed, *addresses};
}

void MasterScan::startThreads(const QList<QStringList>& batches, const Reports& reports)
{
    std::unique_lock guard(masterListsLock);
    if (batches.isEmpty()) {
        endScan(guard, reports);
        return;
    }
    numberOfActiveThreads = static_cast<int>(batches.size());
    guard.unlock();
    for (const QStringList& batch : batches)
        threads.emplace_back([this, batch, reports] { threadedScanServers(batch, reports); });
}

void MasterScan::stopAndJoin()
{
    mustStop = true;
    threads.clear();
}

void MasterScan::threadedScanServers(const QStringList& batch, const Reports& reports)
{
    for (qsizetype i = 0; i < batch.size(); ++i) {
        const CodServerPtr server = CodServer::create();
        server->setServerIp(batch.at(i));
        server->serverRefresh();
        if (server->commError() == CodServer::Answered) {
            std::lock_guard guard(masterListsLock);
            list.push_back(server);
        }
        if (i % handOverEvery == 0)
            reports.handOver();
        if (mustStop)
            break;
    }
    threadEnded(reports);
}

void MasterScan::threadEnded(const Reports& reports)
{
    std::unique_lock guard(masterListsLock);
    if (--numberOfActiveThreads == 0) {
        endScan(guard, reports);
        return;
    }
    guard.unlock();
    reports.handOver();
}

void MasterScan::endScan(std::unique_lock<std::mutex>& guard, const Reports& reports)
{
    refreshing = false;
    const int kept = static_cast<int>(list.size());
    guard.unlock();
    reports.scanEnded(kept);
    reports.handOver();
}

QList<QStringList> MasterScan::batchesOf(const QStringList& addresses, int batchSize)
{
    const qsizetype size = std::max(batchSize, 1);
    QList<QStringList> batches;
    for (qsizetype from = 0; from < addresses.size(); from += size)
        batches.append(addresses.mid(from, size));
    return batches;
}

std::optional<int> MasterScan::masterPort(const QString& text)
{
    const int port = TextValue::integerValue(text);
    if (port < 2 || port > 65534)
        return std::nullopt;
    return port;
}

QString MasterScan::getIpFromString(const QString& host)
{
    if (host.isEmpty() || dottedAddress(host))
        return host;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found) != 0)
        return {};
    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr, dotted, sizeof dotted);
    ::freeaddrinfo(found);
    return QString::fromLatin1(dotted);
}

std::optional<QStringList> MasterScan::addressesInReply(const QString& reply)
{
    QStringList pieces = reply.split(u';');
    if (pieces.size() == 1)
        return std::nullopt;
    // The last piece is what follows the final ";".
    pieces.removeLast();
    QStringList addresses;
    QSet<QString> listed;
    for (const QString& address : std::as_const(pieces)) {
        if (canBeServerAddress(address) && !listed.contains(address)) {
            listed.insert(address);
            addresses.append(address);
        }
    }
    return addresses;
}
