#include "net/LanDiscovery.h"
#include "peers/GameServerPeer.h"

#include <gtest/gtest.h>

// Loopback stands in for the local network: the "broadcast" goes to 127.0.0.1, on the
// ports of the simulated servers.
TEST(LanDiscoveryTest, listsEachServerThatAnswersTheInfoRequestOnceAndNothingElse)
{
    GameServerPeer arena;
    GameServerPeer silentOne;
    GameServerPeer statusOnly;
    arena.setInfoAnswer("\\hostname\\Arena\\mapname\\oa_dm1");
    statusOnly.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Status\n")});
    silentOne.setSilent(true);
    const QList<quint16> ports = {arena.port(), silentOne.port(), statusOnly.port(), arena.port()};

    EXPECT_EQ(LanDiscovery::findServers(QStringLiteral("127.0.0.1"), ports, 200000),
              QStringList{QString::fromLatin1(arena.address())});
    ASSERT_TRUE(arena.waitForReceived(2));
    EXPECT_EQ(arena.receivedDatagrams().first(), LanDiscovery::infoRequest());
    EXPECT_TRUE(statusOnly.waitForReceived(1));

    EXPECT_EQ(LanDiscovery::findServers(QStringLiteral("not.an.address"), ports, 200000), QStringList());
}
