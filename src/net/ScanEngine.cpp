#include "net/ScanEngine.h"

#include "net/ScanSockets.h"

#include <algorithm>
#include <array>
#include <future>
#include <limits>
#include <optional>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// Each scan sends its queries over this many sockets in turn. Their receive buffers
// together hold a few tens of milliseconds of answers at the fastest pace, should
// the engine's thread be held up.
constexpr int querySocketsPerScan = 8;
// The most datagrams read from one socket before the loop looks at the others.
constexpr int datagramsPerRead = 256;
// The epoll tag of the wake-up event; scans count from 1.
constexpr quint64 wakeTag = 0;

}  // namespace

struct ScanEngine::RunningScan {
    RunningScan(const ScanSettings& settings, ScanReports reports)
        : sockets(querySocketsPerScan, settings.masters)
        , scan(settings, std::move(reports), std::chrono::steady_clock::now())
    {
    }
    RunningScan(const QList<ServerAddress>& servers, const ScanSettings& settings, ScanReports reports)
        : sockets(querySocketsPerScan, {})
        , scan(servers, settings, std::move(reports), std::chrono::steady_clock::now())
    {
    }

    ScanSockets sockets;
    PacedScan scan;
};

ScanEngine::ScanEngine()
    : epoll(::epoll_create1(EPOLL_CLOEXEC))
    , wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    epoll_event interest{};
    interest.events = EPOLLIN;
    interest.data.u64 = wakeTag;
    ::epoll_ctl(epoll, EPOLL_CTL_ADD, wake, &interest);
    thread = std::thread([this] { run(); });
}

ScanEngine::~ScanEngine()
{
    post([this] { quitting = true; });
    thread.join();
    scans.clear();
    ::close(wake);
    ::close(epoll);
}

ScanEngine::ScanId ScanEngine::start(const ScanSettings& settings, ScanReports reports)
{
    const ScanId id = ++lastScan;
    post([this, id, settings, reports] { begin(id, settings, reports); });
    return id;
}

ScanEngine::ScanId ScanEngine::query(const QList<ServerAddress>& servers, const ScanSettings& settings,
                                     ScanReports reports)
{
    const ScanId id = ++lastScan;
    post([this, id, servers, settings, reports] { beginQueries(id, servers, settings, reports); });
    return id;
}

void ScanEngine::stop(ScanId id)
{
    post([this, id] {
        if (const auto found = scans.find(id); found != scans.end())
            found->second->scan.stop();
    });
}

void ScanEngine::abandon(ScanId id)
{
    std::promise<void> gone;
    post([this, id, &gone] {
        if (const auto found = scans.find(id); found != scans.end())
            found->second->scan.stop();
        finish(id);
        gone.set_value();
    });
    gone.get_future().wait();
}

void ScanEngine::post(std::function<void()> command)
{
    std::lock_guard guard(commandsLock);
    commands.push_back(std::move(command));
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
}

void ScanEngine::run()
{
    std::array<epoll_event, 64> events;
    while (!quitting) {
        const int count = ::epoll_wait(epoll, events.data(), static_cast<int>(events.size()), millisecondsToWait());
        for (int i = 0; i < count; ++i) {
            const quint64 tag = events[static_cast<std::size_t>(i)].data.u64;
            if (tag == wakeTag)
                runCommands();
            else
                readSocket(tag);
        }
        advanceScans();
    }
}

void ScanEngine::runCommands()
{
    quint64 posted = 0;
    [[maybe_unused]] const ssize_t drained = ::read(wake, &posted, sizeof posted);
    std::vector<std::function<void()>> due;
    {
        std::lock_guard guard(commandsLock);
        due.swap(commands);
    }
    for (const std::function<void()>& command : due)
        command();
}

void ScanEngine::begin(ScanId id, const ScanSettings& settings, ScanReports reports)
{
    auto running = std::make_unique<RunningScan>(settings, std::move(reports));
    const bool open = running->sockets.isOpen() && running->sockets.watchWith(epoll, id);
    for (qsizetype master = 0; master < settings.masters.size(); ++master) {
        if (!open || !running->sockets.askMaster(master))
            running->scan.masterUnreachable(master);
    }
    scans.emplace(id, std::move(running));
}

// Without sockets the scan queries nothing: its servers count as silent.
void ScanEngine::beginQueries(ScanId id, const QList<ServerAddress>& servers, const ScanSettings& settings,
                              ScanReports reports)
{
    auto running = std::make_unique<RunningScan>(servers, settings, std::move(reports));
    if (!running->sockets.isOpen() || !running->sockets.watchWith(epoll, id))
        running->scan.stop();
    scans.emplace(id, std::move(running));
}

void ScanEngine::readSocket(quint64 tag)
{
    const auto found = scans.find(static_cast<ScanId>(tag >> 32));
    if (found != scans.end())
        found->second->sockets.drain(static_cast<quint32>(tag), datagramsPerRead, found->second->scan);
}

void ScanEngine::advanceScans()
{
    const PacedScan::TimePoint now = std::chrono::steady_clock::now();
    std::vector<ScanId> over;
    for (auto& [id, running] : scans) {
        running->scan.advance(now, [&sockets = running->sockets](ServerAddress server, std::optional<int> avoid) {
            return sockets.sendQuery(server, avoid);
        });
        for (const qsizetype master : running->scan.mastersToAskAgain())
            running->sockets.askMaster(master);
        running->sockets.closeMastersOver(running->scan);
        if (running->scan.isOver())
            over.push_back(id);
    }
    for (const ScanId id : over)
        finish(id);
}

void ScanEngine::finish(ScanId id)
{
    const auto found = scans.find(id);
    if (found == scans.end())
        return;
    found->second->scan.finish();
    scans.erase(found);
}

int ScanEngine::millisecondsToWait() const
{
    std::optional<PacedScan::TimePoint> earliest;
    for (const auto& [id, running] : scans) {
        if (const std::optional<PacedScan::TimePoint> scanWake = running->scan.nextWake())
            earliest = earliest ? std::min(*earliest, *scanWake) : *scanWake;
    }
    if (!earliest)
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*earliest - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<qint64>(wait.count(), 0, std::numeric_limits<int>::max()));
}
