#pragma once

#include "watch/WatchRule.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// When the watched servers are asked for their status: each at the shortest interval
// of the running rules that watch it (one server, or every favourite), and never
// more often than every WatchRule::shortestIntervalSeconds, which a refresh of the
// server made elsewhere counts towards. A server never asked is due at once. Rules
// over the scanned servers ask nothing: the scans feed them. Driven by the caller's
// clock.
class WatchSchedule {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    // The servers to ask now, which count as asked from now on.
    QStringList takeDue(const QList<WatchRule>& rules, const QStringList& favourites, TimePoint now);
    // When the next server is due (the clock's earliest time for one never asked);
    // nothing while no rule asks any.
    std::optional<TimePoint> nextDue(const QList<WatchRule>& rules, const QStringList& favourites) const;
    // The server was asked by another refresh at that time.
    void askedElsewhere(const QString& address, TimePoint at);

private:
    // The interval of every watched server, by address.
    static QHash<QString, std::chrono::seconds> intervals(const QList<WatchRule>& rules, const QStringList& favourites);
    std::optional<TimePoint> dueAt(const QString& address, std::chrono::seconds interval) const;

    QHash<QString, TimePoint> lastAsked;
};
