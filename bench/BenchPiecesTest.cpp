// The pieces of the benchmark that its figures rest on: the farm's listing, the
// answers counted in quakestat's output, the CoD4 look of the farm's servers as the
// application reads them, the farm's own lateness, and the lateness statistics.
#include "Cod4ServerLook.h"
#include "FarmListing.h"
#include "LatenessProbe.h"
#include "QstatRun.h"
#include "model/CodServer.h"
#include "net/QuakeProtocol.h"
#include "net/ScanSocket.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <thread>

#include <poll.h>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

FarmListing listingOf(const QStringList& lines)
{
    FarmListing listing;
    for (const QString& line : lines)
        EXPECT_EQ(listing.read(line), line.startsWith(u"master")) << line.toStdString();
    return listing;
}

}  // namespace

TEST(FarmListingTest, theListingKeepsTheMastersOrderAndTheDelayOfEachAnsweringServer)
{
    const FarmListing listing = listingOf({"server 127.0.0.1:1001 delay_ms=10\n", "server 127.0.0.1:1002 silent\n",
                                           "server 127.0.0.1:1003 delay_ms=30\n", "master 127.0.0.1:20810 servers=3\n"});
    EXPECT_EQ(listing.addresses(), (QStringList{"127.0.0.1:1001", "127.0.0.1:1002", "127.0.0.1:1003"}));
    EXPECT_EQ(listing.answeringCount(), 2);
    EXPECT_EQ(listing.masterPort(), 20810);
    EXPECT_EQ(listing.delayOf("127.0.0.1:1003"), 30);
    EXPECT_FALSE(listing.delayOf("127.0.0.1:1002"));
}

TEST(QstatRunTest, theAnswersAreTheLinesThatCarryAServersStatus)
{
    EXPECT_EQ(QstatRun::answersIn("COD4S,127.1.0.1:42962,Trench #0,mp_bog,32,0,24,0\n\n"
                                  "COD4S,127.1.0.2:42962,TIMEOUT\nCOD4S,127.1.0.3:42962,DOWN\n"
                                  "COD4S,127.1.0.4:42962,Fort #3,mp_crash,24,4,44,0\n"),
              2);
}

TEST(Cod4ServerLookTest, theApplicationReadsADressedServerAsACod4ServerWithItsPlayers)
{
    GameServerFarm::Variety variety{.seed = 7, .silentFraction = 0.0, .minimumDelay = 5ms, .maximumDelay = 9ms,
                                    .maximumPlayers = 24};
    std::vector<GameServerFarm::Server> servers = GameServerFarm::generate(40, variety);
    Cod4ServerLook::dress(servers, variety.seed);
    for (const GameServerFarm::Server& each : servers) {
        EXPECT_GE(each.answerDelay, 5ms);
        EXPECT_LE(each.answerDelay, 9ms);
        EXPECT_LE(each.players.size(), 24);
    }
    const auto mostPlayers = std::max_element(servers.cbegin(), servers.cend(), [](const auto& a, const auto& b) {
        return a.players.size() < b.players.size();
    });
    EXPECT_GT(mostPlayers->players.size(), 12) << "up to 24 players, not the tests' 12";

    const GameServerFarm farm(servers);
    const int busiest = static_cast<int>(mostPlayers - servers.cbegin());
    const CodServerPtr server = CodServer::create();
    server->setServerIp(farm.address(busiest));
    server->serverRefresh();
    ASSERT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverGameName(), "Call of Duty 4");
    EXPECT_EQ(server->serverProtocol(), "6");
    EXPECT_EQ(server->serverShortVersion(), "1.7");
    EXPECT_TRUE(server->serverMapName().startsWith(u"mp_"));
    EXPECT_EQ(server->serverPlayers().size(), mostPlayers->players.size());
}

// The farm answers its server's delay after the kernel received the query and tells
// how late each answer left against that: a ping on this machine is the delay plus
// that lateness, so the farm's share of a ping's error can be told from the scan's.
TEST(GameServerFarmTest, anAnswerIsDueItsDelayAfterTheQueryCameAndItsLatenessIsTold)
{
    std::vector<GameServerFarm::Server> servers =
        GameServerFarm::generate(1, {.seed = 3, .minimumDelay = 40ms, .maximumDelay = 40ms});
    GameServerFarm farm(servers);
    ScanSocket client(1400);
    const quint32 server = GameServerFarm::host(0);
    // The query reaches the farm's socket within the send: a busy machine may hold the
    // client up before it or after it, so the round trip is bounded from both sides.
    const auto beforeSending = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.sendTo({server, farm.port()}, QuakeProtocol::statusRequest()));
    const auto afterSending = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::time_point> answeredAt;
    pollfd readable{client.fileDescriptor(), POLLIN, 0};
    while (!answeredAt && ::poll(&readable, 1, -1) == 1)
        client.receive(1, [&answeredAt](ServerAddress, QByteArrayView, auto arrival) { answeredAt = arrival; });
    ASSERT_TRUE(answeredAt);

    // The farm notes the lateness once its answer is sent: the answer may come first.
    std::vector<GameServerFarm::LateAnswer> sent;
    while (sent.empty()) {
        std::this_thread::yield();
        sent = farm.takeSendLateness();
    }
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent.front().server, 0);
    const std::chrono::microseconds lateness = sent.front().lateness;
    EXPECT_GE(lateness, 0us);
    EXPECT_GE(*answeredAt - beforeSending, 40ms);
    // The round trip is the delay and the farm's lateness, and the loopback's few
    // microseconds each way (with room for a busy machine's preemption).
    EXPECT_LE(*answeredAt - afterSending, 40ms + lateness + 10ms);
    EXPECT_TRUE(farm.takeSendLateness().empty());
}

TEST(LatenessProbeTest, latenessIsCountedBeyondThePeriodAndRanked)
{
    LatenessProbe probe;
    EXPECT_EQ(probe.percentile(0.99), 0.0);
    probe.start();
    QTest::qWait(30);
    QElapsedTimer blocked;
    blocked.start();
    while (blocked.elapsed() < 40) {
    }
    QTest::qWait(30);
    probe.stop();
    EXPECT_GE(probe.largest(), 30.0) << "a 40 ms block makes one tick at least 35 ms late";
    EXPECT_LT(probe.percentile(0.5), probe.largest());
    EXPECT_EQ(probe.percentile(1.0), probe.largest());
}
