#include "FinderWindowTest.h"

#include "app/Preferences.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "support/TestPreferences.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

#include <QTest>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// Servers of the farm, each with one player, answering after the delay.
std::vector<GameServerFarm::Server> farmServers(int count, std::chrono::milliseconds delay)
{
    std::vector<GameServerFarm::Server> servers;
    for (int i = 0; i < count; ++i)
        servers.push_back({.hostName = "^2Farm^7 " + QByteArray::number(i), .mapName = "mp_farm",
                           .players = {"Player" + QByteArray::number(i)}, .answerDelay = delay});
    return servers;
}

// Both finders open over real CoD scans of a farm of simulated servers, whose master
// lists them in batches of five servers per thread.
class ScanIntoFindersTest : public FinderWindowTest {
protected:
    void SetUp() override
    {
        FinderWindowTest::SetUp();
        TestPreferences::setTimeout(300000);
        Preferences::standard().setObject(QStringLiteral("127.0.0.1"), QStringLiteral("CoD Master Server"));
        Preferences::standard().setObject(QString::number(master.port()), QStringLiteral("CoD Master Server Port"));
        Preferences::standard().setObject(5, QStringLiteral("Number of servers by thread"));
        serverFinder = &openServerFinder();
        playerFinder = &openPlayerFinder();
    }

    // Starts a live search once the player finder holds servers to search: a search
    // over nothing ends at once.
    void searchPlayer(const QString& text) const
    {
        while (playerFinder->controls().numberOfCodServers->text() == u"0 servers")
            QTest::qWait(2);
        playerFinder->controls().playerToFindBox->setEditText(text);
        playerFinder->controls().startButton->click();
    }

    MasterServerPeer master;
    ServerFinder* serverFinder = nullptr;
    PlayerFinder* playerFinder = nullptr;
};

}  // namespace

TEST_F(ScanIntoFindersTest, theFindersFollowARunningScanAndShowItsWholeListWhenItEnds)
{
    std::vector<GameServerFarm::Server> servers = farmServers(19, 0ms);
    servers.push_back({.hostName = "Late", .mapName = "mp_late", .players = {"^1Late^7comer"}, .answerDelay = 250ms});
    servers.push_back({.hostName = "Mute", .mapName = "mp_mute", .answer = GameServerFarm::Answer::Silent});
    GameServerFarm farm(servers);
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));

    serverFinder->controls().codUpdateButton->click();
    ASSERT_TRUE(controller->codRefreshState());
    searchPlayer(QStringLiteral("latecomer"));

    bool grewWhileFrozen = false;
    while (controller->codRefreshState()) {
        QTest::qWait(5);
        grewWhileFrozen |= serverFinder->controls().numberOfCodServers->text() != u"0 servers"
            && serverFinder->theServers().isEmpty() && serverFinder->controls().filtersBox->isHidden();
    }
    QTest::qWait(50);
    EXPECT_TRUE(grewWhileFrozen) << "the counts grow while the shown list stays as it was";

    EXPECT_EQ(serverFinder->theServers().size(), 20) << "every answering server, the silent one left out";
    EXPECT_FALSE(serverFinder->controls().filtersBox->isHidden());
    EXPECT_EQ(namesFound(playerFinder->thePlayersFound()), QStringList{"Latecomer"})
        << "found on the server that answered last";
}

TEST_F(ScanIntoFindersTest, quittingInTheMiddleOfAScanWithBothFindersOpenStopsItsThreads)
{
    TestPreferences::setTimeout(900000);
    GameServerFarm farm(farmServers(40, 600ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));
    playerFinder->controls().refreshCodMaster->click();
    searchPlayer(QStringLiteral("player"));
    ASSERT_TRUE(controller->codRefreshState());
    while (playerFinder->thePlayersFound().isEmpty())
        QTest::qWait(5);

    window.reset();
    controller.reset();
    EXPECT_LT(farm.queriesReceived(), 40) << "the threads left after the server each was querying";
}
