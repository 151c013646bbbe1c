#pragma once

#include "platform/DesktopNotifications.h"

#include <QDBusConnection>

// Desktop notifications through the freedesktop.org notification service
// (org.freedesktop.Notifications) on a D-Bus bus, the user's session bus in the
// application. The call is sent without waiting for its answer: a bus without the
// service, or no bus at all, drops the notification and holds nothing up.
class DBusNotifications : public DesktopNotifications {
public:
    explicit DBusNotifications(QDBusConnection bus);

    // Services may read the body as markup: its markup characters, which may come
    // from game servers, are sent as entities, so that they show as they are.
    void notify(const QString& summary, const QString& body) override;

private:
    QDBusConnection bus;
};
