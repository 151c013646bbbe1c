#include "watch/WatchRuleStore.h"

#include "platform/Alerts.h"
#include "platform/Preferences.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString watchRulesKey = QStringLiteral("Watch rules");

}  // namespace

namespace WatchRuleStore {

QList<WatchRule> rulesOf(const QByteArray& json)
{
    QList<WatchRule> rules;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonArray entries = document.array();
    for (const QJsonValue& entry : entries) {
        if (const std::optional<WatchRule> rule = WatchRule::fromJson(entry.toObject()))
            rules.append(*rule);
    }
    return rules;
}

QByteArray jsonOf(const QList<WatchRule>& rules)
{
    QJsonArray entries;
    for (const WatchRule& rule : rules)
        entries.append(rule.toJson());
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

QList<WatchRule> stored()
{
    return rulesOf(Preferences::standard().stringForKey(watchRulesKey).toUtf8());
}

bool store(const QList<WatchRule>& rules)
{
    if (Preferences::standard().setObject(QString::fromUtf8(jsonOf(rules)), watchRulesKey))
        return true;
    Alerts::current().reportUnstored(QStringLiteral("Watch"), QStringLiteral("The watch rules"));
    return false;
}

}  // namespace WatchRuleStore
