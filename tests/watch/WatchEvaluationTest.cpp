#include "watch/WatchEvaluation.h"

#include <gtest/gtest.h>

namespace {

using State = ServerSnapshot::State;

ServerSnapshot up(const QString& address, const QStringList& players = {}, const QString& map = {}, int maxPlayers = 4)
{
    return {address, QStringLiteral("Server ") + address, State::Up, map, players, maxPlayers};
}

ServerSnapshot inState(const QString& address, State state)
{
    return {address, QStringLiteral("Server ") + address, state, {}, {}, 0};
}

WatchRule onServer(WatchRule::Condition condition, const QString& server, const QString& text = {}, int count = 0)
{
    WatchRule rule;
    rule.condition = condition;
    rule.scope = WatchRule::Scope::OneServer;
    rule.server = server;
    rule.text = text;
    rule.count = count;
    return rule;
}

WatchedServers watching(const ServerSnapshot& server)
{
    WatchedServers servers;
    servers.watched.insert(server.address, server);
    return servers;
}

// How many times the rule fires over the server's successive states.
QList<int> firingsOver(const WatchRule& rule, const QList<ServerSnapshot>& states)
{
    WatchEvaluation evaluation;
    evaluation.setRules({rule});
    QList<int> firings;
    for (const ServerSnapshot& state : states)
        firings.append(int(evaluation.evaluate(watching(state)).size()));
    return firings;
}

}  // namespace

TEST(WatchEvaluationTest, aRuleFiresWhenItsConditionComesTrueAndAgainOnlyAfterItWasFalse)
{
    const WatchRule bob = onServer(WatchRule::Condition::PlayerAppears, "a", "bob");
    EXPECT_EQ(firingsOver(bob, {up("a", {"Al"}), up("a", {"[x]Bob"}), up("a", {"BOB", "Al"}), up("a"), up("a", {"bob"})}),
              QList<int>({0, 1, 0, 0, 1}));
    EXPECT_EQ(firingsOver(bob, {up("a", {"bob"}), inState("a", State::Refreshing), up("a", {"bob"})}),
              QList<int>({1, 0, 0}))
        << "a refresh under way, its players emptied, is no disappearance";
    EXPECT_EQ(firingsOver(bob, {up("a", {"bob"}), inState("a", State::Down), up("a", {"bob"})}),
              QList<int>({1, 0, 1}));
}

TEST(WatchEvaluationTest, eachConditionDecidesOnTheServersState)
{
    using C = WatchRule::Condition;
    EXPECT_EQ(firingsOver(onServer(C::SlotFrees, "a"), {up("a", {"1", "2", "3", "4"}), up("a", {"1", "2", "3"})}),
              QList<int>({0, 1}));
    EXPECT_EQ(firingsOver(onServer(C::SlotFrees, "a", {}, 2), {up("a", {"1", "2", "3"}), up("a", {"1", "2"})}),
              QList<int>({0, 1}));
    EXPECT_EQ(firingsOver(onServer(C::SlotFrees, "a"), {up("a", {}, {}, 0)}), QList<int>({0}))
        << "a server that tells no maximum has no slot known free";
    EXPECT_EQ(firingsOver(onServer(C::MapStarts, "a", "mp_carentan"),
                          {up("a", {}, "mp_toujane"), up("a", {}, "MP_Carentan"), up("a", {}, "mp_carentan")}),
              QList<int>({0, 1, 0}));
    EXPECT_EQ(firingsOver(onServer(C::PlayersReach, "a", {}, 2), {up("a", {"1"}), up("a", {"1", "2"}), up("a", {"1", "2", "3"})}),
              QList<int>({0, 1, 0}));
    EXPECT_EQ(firingsOver(onServer(C::ServerComesBack, "a"),
                          {up("a"), inState("a", State::Down), inState("a", State::Refreshing), up("a"), up("a")}),
              QList<int>({0, 0, 0, 1, 0}))
        << "a server first seen up did not come back";
    EXPECT_EQ(firingsOver(onServer(C::ServerComesBack, "a"), {inState("a", State::NotYetAsked), up("a")}),
              QList<int>({0, 0}));
}

TEST(WatchEvaluationTest, aPlayerIsLookedForOnEveryServerOfTheScope)
{
    WatchRule clan;
    clan.text = QStringLiteral("CLAN");
    WatchRule scanned = clan;
    scanned.scope = WatchRule::Scope::AnyScannedServer;
    WatchEvaluation evaluation;
    evaluation.setRules({clan, scanned});

    WatchedServers servers;
    servers.favourites = {up("a", {"Al"}), inState("b", State::NotYetAsked), up("c", {"x[clan]"}), up("d", {"clanman"})};
    servers.scanned = {up("s", {"Al"})};
    servers.scanUnderWay = true;
    const QList<WatchFiring> firings = evaluation.evaluate(servers);
    ASSERT_EQ(firings.size(), 1);
    EXPECT_EQ(firings.first().rule, 0);
    EXPECT_EQ(firings.first().server.address, "c") << "the first server where the player is, to join";
    EXPECT_EQ(firings.first().message, "CLAN seen on Server c, Server d");

    servers.favourites = {up("a"), inState("c", State::Refreshing)};
    EXPECT_TRUE(evaluation.evaluate(servers).isEmpty());
    servers.favourites = {up("a"), up("c", {"[clan]"})};
    EXPECT_TRUE(evaluation.evaluate(servers).isEmpty()) << "while a favourite was refreshed, the rule stayed true";

    servers.scanUnderWay = false;
    EXPECT_TRUE(evaluation.evaluate(servers).isEmpty()) << "the finished scan found nobody: false now";
    servers.scanned.append(up("t", {"CLAN"}));
    ASSERT_EQ(evaluation.evaluate(servers).size(), 1);
}

TEST(WatchEvaluationTest, pausedRulesAreNotLookedAtAndStartAfreshWhenResumed)
{
    WatchRule bob = onServer(WatchRule::Condition::PlayerAppears, "a", "bob");
    WatchRule other = onServer(WatchRule::Condition::MapStarts, "a", "mp_dawnville");
    WatchEvaluation evaluation;
    evaluation.setRules({bob, other});
    const WatchedServers bobThere = watching(up("a", {"bob"}, "mp_dawnville"));
    EXPECT_EQ(evaluation.evaluate(bobThere).size(), 2);

    evaluation.setRules({other, bob});
    EXPECT_TRUE(evaluation.evaluate(bobThere).isEmpty()) << "rules kept keep what was known of them";
    bob.paused = true;
    evaluation.setRules({other, bob});
    EXPECT_TRUE(evaluation.evaluate(watching(up("a", {}, "mp_dawnville"))).isEmpty());
    EXPECT_TRUE(evaluation.evaluate(bobThere).isEmpty());
    bob.paused = false;
    evaluation.setRules({other, bob});
    const QList<WatchFiring> firings = evaluation.evaluate(bobThere);
    ASSERT_EQ(firings.size(), 1);
    EXPECT_EQ(firings.first().rule, 1);

    WatchRule incomplete = onServer(WatchRule::Condition::PlayerAppears, "a");
    evaluation.setRules({incomplete});
    EXPECT_TRUE(evaluation.evaluate(bobThere).isEmpty()) << "an empty name matches no one";
}
