#include "watch/WatchSchedule.h"

#include <algorithm>

QStringList WatchSchedule::takeDue(const QList<WatchRule>& rules, const QStringList& favourites, TimePoint now)
{
    QStringList due;
    const QHash<QString, std::chrono::seconds> watched = intervals(rules, favourites);
    for (auto server = watched.cbegin(); server != watched.cend(); ++server) {
        const std::optional<TimePoint> at = dueAt(server.key(), server.value());
        if (!at || *at <= now) {
            due.append(server.key());
            lastAsked.insert(server.key(), now);
        }
    }
    due.sort();
    return due;
}

std::optional<WatchSchedule::TimePoint> WatchSchedule::nextDue(const QList<WatchRule>& rules,
                                                               const QStringList& favourites) const
{
    std::optional<TimePoint> next;
    const QHash<QString, std::chrono::seconds> watched = intervals(rules, favourites);
    for (auto server = watched.cbegin(); server != watched.cend(); ++server) {
        const std::optional<TimePoint> at = dueAt(server.key(), server.value());
        const TimePoint due = at.value_or(TimePoint::min());
        if (!next || due < *next)
            next = due;
    }
    return next;
}

void WatchSchedule::askedElsewhere(const QString& address, TimePoint at)
{
    lastAsked.insert(address, at);
}

QHash<QString, std::chrono::seconds> WatchSchedule::intervals(const QList<WatchRule>& rules,
                                                              const QStringList& favourites)
{
    QHash<QString, std::chrono::seconds> watched;
    const auto watch = [&watched](const QString& address, std::chrono::seconds interval) {
        const auto known = watched.constFind(address);
        watched.insert(address, known == watched.cend() ? interval : std::min(*known, interval));
    };
    for (const WatchRule& rule : rules) {
        if (rule.paused || !rule.isComplete())
            continue;
        const std::chrono::seconds interval(rule.effectiveInterval());
        if (rule.effectiveScope() == WatchRule::Scope::OneServer)
            watch(rule.server, interval);
        else if (rule.effectiveScope() == WatchRule::Scope::AnyFavourite)
            for (const QString& favourite : favourites)
                watch(favourite, interval);
    }
    return watched;
}

std::optional<WatchSchedule::TimePoint> WatchSchedule::dueAt(const QString& address,
                                                             std::chrono::seconds interval) const
{
    const auto asked = lastAsked.constFind(address);
    if (asked == lastAsked.cend())
        return std::nullopt;
    return *asked + interval;
}
