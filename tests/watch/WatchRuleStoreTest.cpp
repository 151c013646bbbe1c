#include "watch/WatchRuleStore.h"

#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

TEST(WatchRuleStoreTest, rulesComeBackAsStoredAndWhatIsNoRuleIsLeftOut)
{
    TestPreferences::installFresh();
    RecordingAlerts::install();
    EXPECT_TRUE(WatchRuleStore::stored().isEmpty());

    WatchRule player;
    player.text = QStringLiteral("\"[clan]\" \\ é");
    player.scope = WatchRule::Scope::AnyScannedServer;
    player.alert = true;
    WatchRule slot;
    slot.condition = WatchRule::Condition::SlotFrees;
    slot.count = 2;
    slot.server = QStringLiteral("127.0.0.1:28960");
    slot.join = true;
    slot.joinWithoutAsking = true;
    slot.intervalSeconds = 15;
    slot.paused = true;
    ASSERT_TRUE(WatchRuleStore::store({player, slot}));
    EXPECT_EQ(WatchRuleStore::stored(), QList<WatchRule>({player, slot}));

    const QList<WatchRule> read = WatchRuleStore::rulesOf(
        R"([{"condition":"map","scope":"server","text":"mp_harbor","interval":1,"count":-5},)"
        R"({"condition":"teleport","scope":"server"},{"condition":"up"},7,)"
        R"({"condition":"players","scope":"favourites","count":99999,"interval":"x"}])");
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read.at(0).text, "mp_harbor");
    EXPECT_EQ(read.at(0).intervalSeconds, WatchRule::shortestIntervalSeconds);
    EXPECT_EQ(read.at(0).count, 0);
    EXPECT_EQ(read.at(1).count, WatchRule::largestCount);
    EXPECT_EQ(read.at(1).effectiveScope(), WatchRule::Scope::OneServer) << "a number of players is on one server";
    EXPECT_TRUE(WatchRuleStore::rulesOf("{\"condition\":\"up\"}").isEmpty());
    EXPECT_TRUE(WatchRuleStore::rulesOf("[{").isEmpty());
}
