#include "watch/WatchRule.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

const std::array<std::pair<WatchRule::Condition, QLatin1StringView>, 5> conditionNames = {{
    {WatchRule::Condition::PlayerAppears, QLatin1StringView("player")},
    {WatchRule::Condition::SlotFrees, QLatin1StringView("slot")},
    {WatchRule::Condition::MapStarts, QLatin1StringView("map")},
    {WatchRule::Condition::ServerComesBack, QLatin1StringView("up")},
    {WatchRule::Condition::PlayersReach, QLatin1StringView("players")},
}};

const std::array<std::pair<WatchRule::Scope, QLatin1StringView>, 3> scopeNames = {{
    {WatchRule::Scope::AnyFavourite, QLatin1StringView("favourites")},
    {WatchRule::Scope::AnyScannedServer, QLatin1StringView("scanned")},
    {WatchRule::Scope::OneServer, QLatin1StringView("server")},
}};

template <class Value, size_t size>
QString nameOf(const std::array<std::pair<Value, QLatin1StringView>, size>& names, Value value)
{
    const auto named = std::find_if(names.cbegin(), names.cend(), [value](const auto& entry) { return entry.first == value; });
    return named->second;
}

template <class Value, size_t size>
std::optional<Value> valueNamed(const std::array<std::pair<Value, QLatin1StringView>, size>& names, const QString& name)
{
    const auto named = std::find_if(names.cbegin(), names.cend(), [&name](const auto& entry) { return entry.second == name; });
    if (named == names.cend())
        return std::nullopt;
    return named->first;
}

}  // namespace

WatchRule::Scope WatchRule::effectiveScope() const
{
    return condition == Condition::PlayerAppears ? scope : Scope::OneServer;
}

bool WatchRule::isComplete() const
{
    const bool needsText = condition == Condition::PlayerAppears || condition == Condition::MapStarts;
    if (needsText && text.trimmed().isEmpty())
        return false;
    return effectiveScope() != Scope::OneServer || !server.trimmed().isEmpty();
}

int WatchRule::effectiveInterval() const
{
    return std::clamp(intervalSeconds, shortestIntervalSeconds, longestIntervalSeconds);
}

QString WatchRule::conditionText() const
{
    switch (condition) {
    case Condition::PlayerAppears:
        return QStringLiteral("Player or tag \"%1\" appears").arg(text);
    case Condition::SlotFrees:
        return count > 1 ? QStringLiteral("%1 slots free").arg(count) : QStringLiteral("A slot frees");
    case Condition::MapStarts:
        return QStringLiteral("Map \"%1\" starts").arg(text);
    case Condition::ServerComesBack:
        return QStringLiteral("Server comes back up");
    case Condition::PlayersReach:
        return QStringLiteral("%1 players or more").arg(count);
    }
    return {};
}

QString WatchRule::scopeText() const
{
    switch (effectiveScope()) {
    case Scope::AnyFavourite:
        return QStringLiteral("Any favourite");
    case Scope::AnyScannedServer:
        return QStringLiteral("Any scanned server");
    case Scope::OneServer:
        return server;
    }
    return {};
}

QString WatchRule::actionsText() const
{
    QStringList actions;
    if (notify)
        actions.append(QStringLiteral("Notification"));
    if (alert)
        actions.append(QStringLiteral("Alert"));
    if (join)
        actions.append(joinWithoutAsking ? QStringLiteral("Join at once") : QStringLiteral("Join after 10 s"));
    return actions.join(QStringLiteral(", "));
}

QJsonObject WatchRule::toJson() const
{
    return {
        {QStringLiteral("condition"), nameOf(conditionNames, condition)},
        {QStringLiteral("text"), text},
        {QStringLiteral("count"), count},
        {QStringLiteral("scope"), nameOf(scopeNames, scope)},
        {QStringLiteral("server"), server},
        {QStringLiteral("notify"), notify},
        {QStringLiteral("alert"), alert},
        {QStringLiteral("join"), join},
        {QStringLiteral("joinWithoutAsking"), joinWithoutAsking},
        {QStringLiteral("interval"), intervalSeconds},
        {QStringLiteral("paused"), paused},
    };
}

std::optional<WatchRule> WatchRule::fromJson(const QJsonObject& object)
{
    const std::optional<Condition> condition =
        valueNamed(conditionNames, object.value(QStringLiteral("condition")).toString());
    const std::optional<Scope> scope = valueNamed(scopeNames, object.value(QStringLiteral("scope")).toString());
    if (!condition || !scope)
        return std::nullopt;
    WatchRule rule;
    rule.condition = *condition;
    rule.scope = *scope;
    rule.text = object.value(QStringLiteral("text")).toString();
    rule.count = std::clamp(object.value(QStringLiteral("count")).toInt(), 0, largestCount);
    rule.server = object.value(QStringLiteral("server")).toString();
    rule.notify = object.value(QStringLiteral("notify")).toBool();
    rule.alert = object.value(QStringLiteral("alert")).toBool();
    rule.join = object.value(QStringLiteral("join")).toBool();
    rule.joinWithoutAsking = object.value(QStringLiteral("joinWithoutAsking")).toBool();
    rule.intervalSeconds = std::clamp(object.value(QStringLiteral("interval")).toInt(shortestIntervalSeconds),
                                      shortestIntervalSeconds, longestIntervalSeconds);
    rule.paused = object.value(QStringLiteral("paused")).toBool();
    return rule;
}
