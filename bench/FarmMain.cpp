// zorvel-farm: N simulated Call of Duty 4 servers, each on its own loopback address
// from 127.1.0.1 upwards, and a master on 127.0.0.1 listing them all, until SIGINT or
// SIGTERM.
//
//   zorvel-farm SEED N MIN_DELAY_MS MAX_DELAY_MS SILENT_FRACTION MASTER_PORT [FAULT=VALUE...]
//
// The faults, all drawn from the seed, none by default: loss_in_pct (queries lost on
// the way), loss_out_pct (answers lost), duplicate_pct (answers sent twice),
// jitter_ms (a spread added to each server's delay), late_pct (servers whose delay
// lies between one and two timeout_ms, 500 by default), limited_pct (servers that
// answer two status queries in two seconds from one address), burst_pct (a burst of
// ten, then one a second) and master_loss_pct (the master's list datagrams lost).
//
// It prints one line per server in the master's order, "server 127.x.y.z:PORT
// delay_ms=D" or "server 127.x.y.z:PORT silent", then "truth N", the servers a
// patient client keeps, and "master 127.0.0.1:PORT servers=N" once everything serves.
// Then each line "lateness" read on its standard input is answered with how late the
// answers sent since the last such line left against their due time, the farm's own
// share of the pings' error: "late 127.x.y.z:PORT MS" for each server that sent one
// answer alone, then "lateness answers=N p50_ms=X p99_ms=Y max_ms=Z".
#include "Cod4ServerLook.h"
#include "LossyMaster.h"
#include "Percentile.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// A real master sends about this many records per datagram.
constexpr int recordsPerDatagram = 200;

struct Arguments {
    GameServerFarm::Variety variety;
    GameServerFarm::Faults faults;
    double masterLoss = 0.0;
    int count = 0;
    quint16 masterPort = 0;
};

// A share given in percent, or a number of milliseconds, by name.
bool parseFault(const QString& word, Arguments& arguments)
{
    const QString name = word.section(u'=', 0, 0);
    bool ok = false;
    const double value = word.section(u'=', 1).toDouble(&ok);
    if (!ok || value < 0)
        return false;
    const double share = value / 100.0;
    const auto milliseconds = std::chrono::milliseconds(static_cast<qint64>(value));
    GameServerFarm::Variety& variety = arguments.variety;
    GameServerFarm::Faults& faults = arguments.faults;
    const QHash<QString, std::function<void()>> setters = {
        {QStringLiteral("loss_in_pct"), [&] { faults.queryLoss = share; }},
        {QStringLiteral("loss_out_pct"), [&] { faults.answerLoss = share; }},
        {QStringLiteral("duplicate_pct"), [&] { faults.duplicatedAnswers = share; }},
        {QStringLiteral("jitter_ms"), [&] { variety.jitter = milliseconds; }},
        {QStringLiteral("late_pct"), [&] { variety.lateFraction = share; }},
        {QStringLiteral("timeout_ms"), [&] { variety.timeout = milliseconds; }},
        {QStringLiteral("limited_pct"), [&] { variety.limitedFraction = share; }},
        {QStringLiteral("burst_pct"), [&] { variety.burstLimitedFraction = share; }},
        {QStringLiteral("master_loss_pct"), [&] { arguments.masterLoss = share; }},
    };
    const auto setter = setters.find(name);
    if (setter == setters.end())
        return false;
    (*setter)();
    return true;
}

std::optional<Arguments> parse(const QStringList& words)
{
    if (words.size() < 7)
        return std::nullopt;
    bool ok[6] = {};
    Arguments arguments;
    arguments.variety.seed = words[1].toUInt(&ok[0]);
    arguments.count = words[2].toInt(&ok[1]);
    arguments.variety.minimumDelay = std::chrono::milliseconds(words[3].toInt(&ok[2]));
    arguments.variety.maximumDelay = std::chrono::milliseconds(words[4].toInt(&ok[3]));
    arguments.variety.silentFraction = words[5].toDouble(&ok[4]);
    arguments.masterPort = words[6].toUShort(&ok[5]);
    arguments.variety.maximumPlayers = 24;
    for (const bool each : ok) {
        if (!each)
            return std::nullopt;
    }
    if (arguments.count < 1 || arguments.variety.minimumDelay > arguments.variety.maximumDelay)
        return std::nullopt;
    arguments.faults.seed = arguments.variety.seed;
    for (const QString& word : words.mid(7)) {
        if (!parseFault(word, arguments))
            return std::nullopt;
    }
    return arguments;
}

sigset_t endingSignals()
{
    sigset_t endings;
    sigemptyset(&endings);
    sigaddset(&endings, SIGINT);
    sigaddset(&endings, SIGTERM);
    return endings;
}

void printServers(const GameServerFarm& farm)
{
    for (int i = 0; i < farm.size(); ++i) {
        const QByteArray address = farm.address(i).toLatin1();
        if (farm.server(i).answer == GameServerFarm::Answer::Silent)
            std::printf("server %s silent\n", address.constData());
        else
            std::printf("server %s delay_ms=%lld\n", address.constData(),
                        static_cast<long long>(farm.server(i).answerDelay.count()));
    }
}

// A line per server that sent one answer alone, whose ping is then that answer's, and
// the spread of every answer's lateness.
void printLateness(GameServerFarm& farm)
{
    const std::vector<GameServerFarm::LateAnswer> sent = farm.takeSendLateness();
    QHash<int, int> answersOf;
    for (const GameServerFarm::LateAnswer& answer : sent)
        ++answersOf[answer.server];
    std::vector<double> milliseconds;
    for (const GameServerFarm::LateAnswer& answer : sent) {
        milliseconds.push_back(static_cast<double>(answer.lateness.count()) / 1000.0);
        if (answersOf.value(answer.server) == 1)
            std::printf("late %s %.3f\n", qPrintable(farm.address(answer.server)), milliseconds.back());
    }
    std::printf("lateness answers=%zu p50_ms=%.1f p99_ms=%.1f max_ms=%.1f\n", milliseconds.size(),
                Percentile::of(milliseconds, 0.5), Percentile::of(milliseconds, 0.99), Percentile::of(milliseconds, 1.0));
    std::fflush(stdout);
}

// Answers the lines of the standard input until SIGINT or SIGTERM.
void serveUntilEnded(GameServerFarm& farm)
{
    const sigset_t endings = endingSignals();
    const int endingSignalsRead = ::signalfd(-1, &endings, SFD_CLOEXEC);
    pollfd watched[] = {{endingSignalsRead, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    char line[64];
    while (::poll(watched, 2, -1) >= 0 && !(watched[0].revents & POLLIN)) {
        if (!watched[1].revents)
            continue;
        if (!std::fgets(line, sizeof line, stdin))
            watched[1].fd = -1;
        else if (qstrcmp(line, "lateness\n") == 0)
            printLateness(farm);
    }
    ::close(endingSignalsRead);
}

int serve(const Arguments& arguments)
{
    std::vector<GameServerFarm::Server> servers = GameServerFarm::generate(arguments.count, arguments.variety);
    Cod4ServerLook::dress(servers, arguments.variety.seed);
    GameServerFarm farm(std::move(servers), arguments.faults);
    LossyMaster master(arguments.masterPort, arguments.masterLoss, arguments.variety.seed);
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), recordsPerDatagram));
    printServers(farm);
    std::printf("truth %lld\n", static_cast<long long>(farm.answeringAddresses().size()));
    std::printf("master 127.0.0.1:%u servers=%d\n", master.port(), farm.size());
    std::fflush(stdout);

    serveUntilEnded(farm);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Blocked before the farm's threads start, so that sigwait alone receives them.
    const sigset_t endings = endingSignals();
    pthread_sigmask(SIG_BLOCK, &endings, nullptr);

    QCoreApplication application(argc, argv);
    const std::optional<Arguments> arguments = parse(QCoreApplication::arguments());
    if (!arguments) {
        std::fprintf(stderr, "usage: zorvel-farm SEED N MIN_DELAY_MS MAX_DELAY_MS SILENT_FRACTION MASTER_PORT "
                             "[FAULT=VALUE...]\n");
        return 2;
    }
    try {
        return serve(*arguments);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorvel-farm: %s\n", error.what());
        return 1;
    }
}
