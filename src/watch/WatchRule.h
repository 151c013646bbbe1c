#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// One rule of the Watch window: what to watch for (its condition), on which servers
// (its scope), what to do when the condition comes true (its actions), how often its
// servers are queried, and whether it is paused. A player or clan tag may be watched
// on any favourite, any scanned server or one server; the other conditions watch one
// server.
struct WatchRule {
    enum class Condition { PlayerAppears, SlotFrees, MapStarts, ServerComesBack, PlayersReach };
    enum class Scope { AnyFavourite, AnyScannedServer, OneServer };

    // A watched server is asked no more often than this, whatever the rule says.
    static constexpr int shortestIntervalSeconds = 10;
    static constexpr int longestIntervalSeconds = 24 * 3600;
    static constexpr int largestCount = 1000;

    Condition condition = Condition::PlayerAppears;
    // The player name or clan tag (PlayerAppears), or the map (MapStarts).
    QString text;
    // SlotFrees: at least this many free slots, any free slot when 0 or 1.
    // PlayersReach: at least this many players.
    int count = 0;
    Scope scope = Scope::AnyFavourite;
    // The address of the one server watched.
    QString server;
    bool notify = true;
    bool alert = false;
    bool join = false;
    // Joins at once, without the countdown that can be cancelled.
    bool joinWithoutAsking = false;
    int intervalSeconds = 60;
    bool paused = false;

    // The scope in effect: every condition but a player's watches one server.
    Scope effectiveScope() const;
    // Whether the rule has what its condition and scope need (a name, a map, a server).
    bool isComplete() const;
    // The interval in effect, within the shortest and longest allowed.
    int effectiveInterval() const;
    // What the rule watches for and where, as the Watch window shows it.
    QString conditionText() const;
    QString scopeText() const;
    QString actionsText() const;

    QJsonObject toJson() const;
    // The rule a stored object describes; nothing when its condition or scope is not
    // one of those known. Numbers out of range are brought within it.
    static std::optional<WatchRule> fromJson(const QJsonObject& object);

    bool operator==(const WatchRule&) const = default;
};
