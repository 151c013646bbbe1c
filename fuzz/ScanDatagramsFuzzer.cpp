// A scan reads datagrams from the network: the masters' lists (as datagrams and as a
// stream) and the answers of the servers they list, from any sender and in any
// order. Whatever comes, a server is queried at most twice and only once listed, an
// answer counts once and only from a queried server's own address and port, the
// counts stay in order, and each master's outcome is told once at most.
#include "FuzzInput.h"
#include "net/PacedScan.h"

#include <QHash>
#include <QSet>

namespace {

using namespace std::chrono_literals;
using FuzzInput::require;

const ServerAddress master{0x7F000001, 20810};
const ServerAddress streamMaster{0x7F000001, 20811};
const QList<MasterSource> masters = {
    {.label = "udp", .address = master, .transport = MasterSource::Transport::Udp, .request = {}, .entryPrefix = {}},
    {.label = "tcp",
     .address = streamMaster,
     .transport = MasterSource::Transport::Tcp,
     .request = {},
     .entryPrefix = QByteArray("\0\0\0\0\4", 5)},
};

// Reads the input from the front, as a sequence of scan events.
class Events {
public:
    Events(const uint8_t* data, size_t size)
        : bytes(FuzzInput::bytesOf(data, size))
    {
    }

    bool atEnd() const { return at >= bytes.size(); }
    quint16 number()
    {
        const auto high = static_cast<quint16>(byte());
        return static_cast<quint16>(high << 8 | byte());
    }
    quint8 byte() { return atEnd() ? 0 : static_cast<quint8>(bytes[at++]); }
    QByteArray datagram()
    {
        const qsizetype length = std::min<qsizetype>(number() % 2200, bytes.size() - at);
        const QByteArray taken = bytes.mid(at, length);
        at += length;
        return taken;
    }

private:
    const QByteArray bytes;
    qsizetype at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Queries sent to each address, and the addresses in the order first queried.
    QHash<QString, int> queries;
    QList<ServerAddress> queried;
    QSet<QString> answered;
    int endings = 0;
    QList<int> outcomes(masters.size(), 0);
    ScanReports reports{
        [&](const CodServerPtr& server) {
            require(queries.value(server->serverIp()) > 0 && !answered.contains(server->serverIp()));
            require(server->serverPing().startsWith(QStringLiteral("Ping: ")));
            answered.insert(server->serverIp());
        },
        [](const ScanCounts&) {},
        [&](const ScanCounts& counts, bool) {
            require(counts.answered == answered.size() && counts.queried == queried.size());
            require(counts.queried <= counts.listed);
            ++endings;
        },
        [&](qsizetype which, const MasterOutcome&) { require(++outcomes[which] == 1); },
    };
    PacedScan::TimePoint now = PacedScan::TimePoint() + 1h;
    PacedScan scan({.timeout = 500ms, .queriesPerSecond = 20000, .masters = masters}, reports, now);
    // Every seventh send is refused; the others go out by one of three routes, never
    // by the one to avoid.
    int sends = 0;
    const auto send = [&](ServerAddress server, std::optional<int> routeToAvoid) -> std::optional<PacedScan::Sent> {
        require(server.canBeServer());
        if (++sends % 7 == 0)
            return std::nullopt;
        if (++queries[server.text()] == 1)
            queried.append(server);
        require(queries[server.text()] <= 2);
        return PacedScan::Sent{now, (routeToAvoid.value_or(0) + 1) % 3};
    };

    Events events(data, size);
    while (!events.atEnd()) {
        switch (events.byte() % 6) {
        case 0:
            scan.masterDatagram(0, master, events.datagram(), now);
            break;
        case 4:
            scan.masterStream(1, events.datagram(), now);
            break;
        case 5:
            scan.masterStreamEnded(1, events.byte() % 2 == 0);
            break;
        case 1: {
            // A queried server, at its port or the next one, or a stranger.
            const quint8 which = events.byte();
            ServerAddress from{0x0A000000U | which, which};
            if (!queried.isEmpty()) {
                from = queried.at(which % queried.size());
                from.port = static_cast<quint16>(from.port + events.byte() % 2);
            }
            const int route = events.byte() % 3;
            scan.serverDatagram(from, route, events.datagram(), now);
            break;
        }
        case 2:
            now += std::chrono::milliseconds(events.number());
            break;
        default:
            scan.stop();
        }
        scan.advance(now, send);
        scan.mastersToAskAgain();
    }
    scan.finish();
    require(endings == 1);
    return 0;
}
