#include "watch/WatchSchedule.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

WatchRule oneServer(const QString& server, int interval)
{
    WatchRule rule;
    rule.condition = WatchRule::Condition::ServerComesBack;
    rule.server = server;
    rule.intervalSeconds = interval;
    return rule;
}

}  // namespace

// The schedule runs on a clock of the test's own.
TEST(WatchScheduleTest, eachServerIsAskedAtTheShortestIntervalOfItsRulesAndNoMoreOftenThanTenSeconds)
{
    const WatchSchedule::TimePoint start{};
    WatchSchedule schedule;
    const QList<WatchRule> rules = {oneServer("a", 60), oneServer("a", 30), oneServer("b", 1)};
    EXPECT_EQ(schedule.takeDue(rules, {}, start), QStringList({"a", "b"})) << "never asked: due at once";
    EXPECT_EQ(schedule.nextDue(rules, {}), start + 10s);
    EXPECT_TRUE(schedule.takeDue(rules, {}, start + 9s).isEmpty());
    EXPECT_EQ(schedule.takeDue(rules, {}, start + 10s), QStringList({"b"}));
    EXPECT_EQ(schedule.takeDue(rules, {}, start + 30s), QStringList({"a", "b"}));

    schedule.askedElsewhere("a", start + 50s);
    EXPECT_EQ(schedule.takeDue(rules, {}, start + 60s), QStringList({"b"})) << "a refresh of its own counts";
    EXPECT_EQ(schedule.takeDue(rules, {}, start + 80s), QStringList({"a", "b"}));
}

TEST(WatchScheduleTest, aPlayerOnAnyFavouriteAsksEveryFavouriteAndPausedOrScannedRulesAskNothing)
{
    const WatchSchedule::TimePoint start{};
    WatchRule favourites;
    favourites.text = QStringLiteral("bob");
    favourites.intervalSeconds = 20;
    WatchRule scanned = favourites;
    scanned.scope = WatchRule::Scope::AnyScannedServer;
    WatchRule paused = oneServer("p", 10);
    paused.paused = true;
    const QList<WatchRule> rules = {favourites, scanned, paused};

    WatchSchedule schedule;
    EXPECT_EQ(schedule.takeDue(rules, {"f1", "f2"}, start), QStringList({"f1", "f2"}));
    EXPECT_EQ(schedule.nextDue(rules, {"f1", "f2"}), start + 20s);
    EXPECT_EQ(schedule.takeDue(rules, {"f1", "f2", "f3"}, start + 1s), QStringList({"f3"})) << "a new favourite";
    EXPECT_FALSE(schedule.nextDue({scanned, paused}, {"f1"}).has_value());
}
