#pragma once

#include <QString>

// The keys of servers' rules ("sv_hostname", "g_gametype"), each kept once per thread
// that reads answers: the servers of a game send the same few dozen keys, and a master
// scan keeps the rules of tens of thousands of servers. A thread keeps at most
// sharedLimit keys, so servers that make keys up cost no more than unshared keys.
namespace RuleKeys {

constexpr qsizetype sharedLimit = 4096;

// The shared text equal to the key, or the key itself once the thread's keys are full.
QString shared(const QString& key);

}  // namespace RuleKeys
