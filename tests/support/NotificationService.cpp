#include "support/NotificationService.h"

#include <QDBusError>

#include <stdexcept>

namespace {

const QString connectionName = QStringLiteral("test notification service");
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");

}  // namespace

NotificationService::NotificationService(const QString& busAddress)
    : bus(QDBusConnection::connectToBus(busAddress, connectionName))
{
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots)
        || !bus.registerService(serviceName))
        throw std::runtime_error("the notification service could not register: "
                                 + bus.lastError().message().toStdString());
}

NotificationService::~NotificationService()
{
    bus.unregisterService(serviceName);
    QDBusConnection::disconnectFromBus(connectionName);
}

uint NotificationService::Notify(const QString& appName, uint, const QString& appIcon, const QString& summary,
                                 const QString& body, const QStringList&, const QVariantMap&, int)
{
    notifications.append({appName, appIcon, summary, body});
    return uint(notifications.size());
}
