#include "net/ScanEngine.h"
#include "peers/GameServerPeer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <mutex>

namespace {

using namespace std::chrono_literals;

ServerAddress addressOf(const UdpPeer& peer)
{
    return {0x7F000001, peer.port()};
}

int statusQueries(const UdpPeer& peer)
{
    return int(peer.receivedDatagrams().count(QByteArray("\xff\xff\xff\xffgetstatus")));
}

// The answers of a scan of given servers, as its owner receives them.
struct ArrivedAnswers {
    std::mutex lock;
    std::map<quint64, std::pair<QString, double>> byAddress;
    std::promise<void> ended;

    ScanReports reports()
    {
        ScanReports reports;
        reports.progressed = [](const ScanCounts&) {};
        reports.ended = [this](const ScanCounts&, bool) { ended.set_value(); };
        reports.statusArrived = [this](ServerAddress from, const QString& answer, double milliseconds) {
            const std::lock_guard guard(lock);
            EXPECT_TRUE(byAddress.emplace(from.key(), std::pair(answer, milliseconds)).second) << "once per server";
        };
        return reports;
    }
};

}  // namespace

// The engine queries a list it is given, with no master: each server once, the silent
// ones once more, and the owner takes each answer's text and round trip.
TEST(ServerListScanTest, eachServerIsAskedWithoutAMasterAndTheSilentOnesOnceMore)
{
    GameServerPeer answering;
    answering.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Alpha\n")});
    GameServerPeer silent;
    silent.setSilent(true);
    ScanEngine engine;
    ArrivedAnswers answers;

    engine.query({addressOf(answering), addressOf(silent), addressOf(answering)},
                 {.timeout = 400ms, .queriesPerSecond = 2000, .masters = {}}, answers.reports());
    answers.ended.get_future().wait();

    EXPECT_EQ(statusQueries(answering), 1) << "an address listed twice is asked once";
    EXPECT_EQ(statusQueries(silent), 2);
    const std::lock_guard guard(answers.lock);
    ASSERT_EQ(answers.byAddress.size(), 1U);
    const auto& [text, milliseconds] = answers.byAddress.at(addressOf(answering).key());
    EXPECT_TRUE(text.contains(QStringLiteral("\\sv_hostname\\Alpha"))) << qPrintable(text);
    EXPECT_GE(milliseconds, 0.0);
}

// A run abandoned while its servers stay silent has ended when abandon returns, and
// an empty list ends at once.
TEST(ServerListScanTest, anAbandonedOrEmptyListEndsAndAsksNothingMore)
{
    GameServerPeer silent;
    silent.setSilent(true);
    ScanEngine engine;
    ArrivedAnswers abandoned;
    const ScanEngine::ScanId scan = engine.query(
        {addressOf(silent)}, {.timeout = 900ms, .queriesPerSecond = 2000, .masters = {}},
        abandoned.reports());
    ASSERT_TRUE(silent.waitForReceived(1));
    engine.abandon(scan);
    EXPECT_EQ(abandoned.ended.get_future().wait_for(0s), std::future_status::ready);

    ArrivedAnswers empty;
    engine.query({}, {.timeout = 900ms, .queriesPerSecond = 2000, .masters = {}},
                 empty.reports());
    empty.ended.get_future().wait();
    EXPECT_EQ(statusQueries(silent), 1);
}
