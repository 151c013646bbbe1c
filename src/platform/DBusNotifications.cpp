#include "platform/DBusNotifications.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString notificationService = QStringLiteral("org.freedesktop.Notifications");
const QString notificationPath = QStringLiteral("/org/freedesktop/Notifications");
const QString desktopEntry = QStringLiteral("org.zorvel.Zorvel");
// The service decides how long the notification stays.
constexpr int serviceChosenTimeout = -1;

}  // namespace

DBusNotifications::DBusNotifications(QDBusConnection bus)
    : bus(std::move(bus))
{
}

void DBusNotifications::notify(const QString& summary, const QString& body)
{
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(notificationService, notificationPath, notificationService, QStringLiteral("Notify"));
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    call << QStringLiteral("Zorvel") << 0u << desktopEntry << summary << body.toHtmlEscaped() << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), desktopEntry}} << serviceChosenTimeout;
    bus.send(call);
}
