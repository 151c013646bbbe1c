#pragma once

#include "watch/WatchRule.h"

#include <QByteArray>
#include <QList>

// The watch rules kept in the settings, under "Watch rules", as a JSON list of
// objects. The settings file may have been edited by hand: a value that is no such
// list reads as no rules, and an entry that is no rule is left out.
namespace WatchRuleStore {

QList<WatchRule> rulesOf(const QByteArray& json);
QByteArray jsonOf(const QList<WatchRule>& rules);

QList<WatchRule> stored();
// Keeps the rules; an alert tells when they could not be written.
bool store(const QList<WatchRule>& rules);

}  // namespace WatchRuleStore
