// The controller's side of the history of servers: how long it keeps what, and what
// the user is told when it cannot be kept.
#include "app/Zorvel.h"

#include "platform/Alerts.h"
#include "platform/Preferences.h"

void Zorvel::connectHistory()
{
    // A message that comes from the history's thread, while the user may be typing.
    connect(&m_history, &HistoryStore::troubled, this, [](const QString& message) {
        Alerts::current().notify(QStringLiteral("History of servers"), message, QStringLiteral("Ok"));
    });
    m_history.pruneDaily(&Zorvel::historyRetention);
}

HistoryRetention Zorvel::historyRetention()
{
    const Preferences& settings = Preferences::standard();
    return {
        .favouriteDays = settings.integerForKey(QStringLiteral("History days for favourites")),
        .scanDays = settings.integerForKey(QStringLiteral("History days for scans")),
        .sizeLimitBytes = qint64(settings.integerForKey(QStringLiteral("History size limit in MB"))) * 1024 * 1024,
    };
}
