#include "support/RecordingNotifications.h"

void RecordingNotifications::notify(const QString& summary, const QString& body)
{
    std::lock_guard guard(lock);
    notifications.append({summary, body, {}});
}

void RecordingNotifications::notifyOffering(const QString& summary, const QString& body, const QString& action,
                                            std::function<void()>)
{
    std::lock_guard guard(lock);
    notifications.append({summary, body, action});
}

QList<RecordingNotifications::Sent> RecordingNotifications::sent() const
{
    std::lock_guard guard(lock);
    return notifications;
}

RecordingNotifications& RecordingNotifications::install()
{
    auto recorder = std::make_unique<RecordingNotifications>();
    RecordingNotifications& installed = *recorder;
    DesktopNotifications::install(std::move(recorder));
    return installed;
}
