#pragma once

#include "watch/ServerSnapshot.h"
#include "watch/WatchRule.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// What is known of the servers when the rules are looked at.
struct WatchedServers {
    QList<ServerSnapshot> favourites;
    QList<ServerSnapshot> scanned;
    // A scan runs: a player not among the servers it kept so far may yet turn up.
    bool scanUnderWay = false;
    // The servers that rules watch one by one, by address.
    QHash<QString, ServerSnapshot> watched;
};

// A rule whose condition came true.
struct WatchFiring {
    // The rule's place in the list.
    int rule = 0;
    // The first server on which the condition holds, the one to join.
    ServerSnapshot server;
    // What happened, naming every server on which it holds.
    QString message;
};

// Decides when the watch rules fire: a rule fires once when its condition comes true,
// and again only after it was seen false. Fed snapshots of the servers, it keeps for
// each rule whether its condition held when last known; a server being refreshed, or
// one not yet asked, leaves that as it was. "Comes back up" fires only for a server
// that was seen down. A paused rule is not looked at, and starts afresh when resumed.
class WatchEvaluation {
public:
    // Takes the new list; a rule kept unchanged keeps what was known of it.
    void setRules(const QList<WatchRule>& rules);
    const QList<WatchRule>& rules() const { return m_rules; }

    // Looks at the rules against the servers as they are now; the rules that fire.
    QList<WatchFiring> evaluate(const WatchedServers& servers);

private:
    enum class Truth { False, True, Undetermined };
    struct Outcome {
        Truth truth = Truth::Undetermined;
        // The servers on which the condition holds.
        QList<ServerSnapshot> holdingOn;
    };

    static Outcome outcomeOf(const WatchRule& rule, const WatchedServers& servers);
    static Outcome outcomeOnServers(const WatchRule& rule, const QList<ServerSnapshot>& servers, bool moreMayCome);
    static Truth truthOn(const WatchRule& rule, const ServerSnapshot& server);
    // Whether the rule fires on going from what was known to the truth now.
    static bool fires(const WatchRule& rule, std::optional<bool> before, bool now);
    static QString messageOf(const WatchRule& rule, const QList<ServerSnapshot>& holdingOn);

    QList<WatchRule> m_rules;
    // Per rule: whether its condition held when last known.
    QList<std::optional<bool>> truths;
};
