#include "platform/DesktopNotifications.h"

#include "platform/DBusNotifications.h"
#include "platform/ReplaceableInstance.h"

#include <QDBusConnection>

namespace {

ReplaceableInstance<DesktopNotifications>& theNotifications()
{
    static ReplaceableInstance<DesktopNotifications> notifications(
        [] { return std::make_unique<DBusNotifications>(QDBusConnection::sessionBus()); });
    return notifications;
}

}  // namespace

DesktopNotifications& DesktopNotifications::current()
{
    return theNotifications().current();
}

void DesktopNotifications::install(std::unique_ptr<DesktopNotifications> notifications)
{
    theNotifications().install(std::move(notifications));
}
