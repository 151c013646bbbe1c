#include "watch/WatchEvaluation.h"

#include <QStringList>

void WatchEvaluation::setRules(const QList<WatchRule>& rules)
{
    QList<std::optional<bool>> kept;
    for (const WatchRule& rule : rules) {
        const qsizetype before = m_rules.indexOf(rule);
        kept.append(before >= 0 && !rule.paused ? truths.at(before) : std::nullopt);
    }
    m_rules = rules;
    truths = kept;
}

QList<WatchFiring> WatchEvaluation::evaluate(const WatchedServers& servers)
{
    QList<WatchFiring> firings;
    for (int index = 0; index < m_rules.size(); ++index) {
        const WatchRule& rule = m_rules.at(index);
        if (rule.paused || !rule.isComplete())
            continue;
        const Outcome outcome = outcomeOf(rule, servers);
        if (outcome.truth == Truth::Undetermined)
            continue;
        const bool now = outcome.truth == Truth::True;
        if (fires(rule, truths.at(index), now))
            firings.append({index, outcome.holdingOn.first(), messageOf(rule, outcome.holdingOn)});
        truths[index] = now;
    }
    return firings;
}

WatchEvaluation::Outcome WatchEvaluation::outcomeOf(const WatchRule& rule, const WatchedServers& servers)
{
    switch (rule.effectiveScope()) {
    case WatchRule::Scope::AnyFavourite:
        return outcomeOnServers(rule, servers.favourites, false);
    case WatchRule::Scope::AnyScannedServer:
        return outcomeOnServers(rule, servers.scanned, servers.scanUnderWay);
    case WatchRule::Scope::OneServer:
        break;
    }
    const auto watched = servers.watched.constFind(rule.server);
    if (watched == servers.watched.cend())
        return {};
    const Truth truth = truthOn(rule, *watched);
    return {truth, truth == Truth::True ? QList<ServerSnapshot>{*watched} : QList<ServerSnapshot>{}};
}

// True when it holds on some server; false when every server is known and it holds on
// none; otherwise not known yet.
WatchEvaluation::Outcome WatchEvaluation::outcomeOnServers(const WatchRule& rule, const QList<ServerSnapshot>& servers,
                                                           bool moreMayCome)
{
    Outcome outcome{moreMayCome ? Truth::Undetermined : Truth::False, {}};
    for (const ServerSnapshot& server : servers) {
        const Truth truth = server.state == ServerSnapshot::State::NotYetAsked ? Truth::False : truthOn(rule, server);
        if (truth == Truth::True)
            outcome.holdingOn.append(server);
        else if (truth == Truth::Undetermined)
            outcome.truth = Truth::Undetermined;
    }
    if (!outcome.holdingOn.isEmpty())
        outcome.truth = Truth::True;
    return outcome;
}

WatchEvaluation::Truth WatchEvaluation::truthOn(const WatchRule& rule, const ServerSnapshot& server)
{
    using State = ServerSnapshot::State;
    if (server.state == State::Refreshing || server.state == State::NotYetAsked)
        return Truth::Undetermined;
    if (server.state == State::Down)
        return Truth::False;
    bool holds = false;
    switch (rule.condition) {
    case WatchRule::Condition::PlayerAppears:
        holds = server.hasPlayer(rule.text);
        break;
    case WatchRule::Condition::SlotFrees:
        holds = server.maxPlayers > 0 && server.freeSlots() >= std::max(rule.count, 1);
        break;
    case WatchRule::Condition::MapStarts:
        holds = server.map.compare(rule.text.trimmed(), Qt::CaseInsensitive) == 0;
        break;
    case WatchRule::Condition::ServerComesBack:
        holds = true;
        break;
    case WatchRule::Condition::PlayersReach:
        holds = server.playerCount() >= std::max(rule.count, 1);
        break;
    }
    return holds ? Truth::True : Truth::False;
}

bool WatchEvaluation::fires(const WatchRule& rule, std::optional<bool> before, bool now)
{
    if (!now)
        return false;
    // A server first seen up has not come back: it was never seen down.
    if (rule.condition == WatchRule::Condition::ServerComesBack)
        return before == false;
    return before != true;
}

QString WatchEvaluation::messageOf(const WatchRule& rule, const QList<ServerSnapshot>& holdingOn)
{
    QStringList names;
    for (const ServerSnapshot& server : holdingOn)
        names.append(server.name);
    const QString where = names.join(QStringLiteral(", "));
    const ServerSnapshot& first = holdingOn.first();
    switch (rule.condition) {
    case WatchRule::Condition::PlayerAppears:
        return QStringLiteral("%1 seen on %2").arg(rule.text, where);
    case WatchRule::Condition::SlotFrees:
        return QStringLiteral("%1 has %2 of %3 slots free").arg(where).arg(first.freeSlots()).arg(first.maxPlayers);
    case WatchRule::Condition::MapStarts:
        return QStringLiteral("%1 started on %2").arg(first.map, where);
    case WatchRule::Condition::ServerComesBack:
        return QStringLiteral("%1 is back up").arg(where);
    case WatchRule::Condition::PlayersReach:
        return QStringLiteral("%1 has %2 players").arg(where).arg(first.playerCount());
    }
    return {};
}
