#include "model/RuleKeys.h"

#include <QSet>

QString RuleKeys::shared(const QString& key)
{
    // One set per thread: the scan's engine reads answers on its own thread, and the
    // refreshes on theirs, so no thread waits for another's.
    thread_local QSet<QString> keys;
    if (const auto known = keys.constFind(key); known != keys.cend())
        return *known;
    if (keys.size() < sharedLimit)
        keys.insert(key);
    return key;
}
