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
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !bus.registerService(serviceName))
        throw std::runtime_error("the notification service could not register: "
                                 + bus.lastError().message().toStdString());
}

NotificationService::~NotificationService()
{
    bus.unregisterService(serviceName);
    QDBusConnection::disconnectFromBus(connectionName);
}

QStringList NotificationService::GetCapabilities() const
{
    QStringList capabilities{QStringLiteral("body")};
    if (offersActions)
        capabilities.append(QStringLiteral("actions"));
    return capabilities;
}

uint NotificationService::Notify(const QString& appName, uint, const QString& appIcon, const QString& summary,
                                 const QString& body, const QStringList& actions, const QVariantMap&, int)
{
    notifications.append({appName, appIcon, summary, body, actions});
    return uint(notifications.size());
}

bool NotificationService::chooseAction(int notification, const QString& label)
{
    if (notification < 0 || notification >= notifications.size())
        return false;
    const QStringList& actions = notifications.at(notification).actions;
    for (qsizetype key = 0; key + 1 < actions.size(); key += 2) {
        if (actions.at(key + 1) == label) {
            emit ActionInvoked(uint(notification + 1), actions.at(key));
            return true;
        }
    }
    return false;
}
