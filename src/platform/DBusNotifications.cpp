#include "platform/DBusNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString notificationService = QStringLiteral("org.freedesktop.Notifications");
const QString notificationPath = QStringLiteral("/org/freedesktop/Notifications");
const QString desktopEntry = QStringLiteral("org.zorvel.Zorvel");
const QString actionsCapability = QStringLiteral("actions");
// The key of the one action offered; the service shows its label.
const QString offeredActionKey = QStringLiteral("default-action");
// The service decides how long the notification stays.
constexpr int serviceChosenTimeout = -1;

QDBusMessage callTo(const QString& method)
{
    return QDBusMessage::createMethodCall(notificationService, notificationPath, notificationService, method);
}

// The actions are pairs of a key and the label shown.
QDBusMessage notifyCall(const QString& summary, const QString& body, const QStringList& actions)
{
    QDBusMessage call = callTo(QStringLiteral("Notify"));
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    call << QStringLiteral("Zorvel") << 0u << desktopEntry << summary << body.toHtmlEscaped() << actions
         << QVariantMap{{QStringLiteral("desktop-entry"), desktopEntry}} << serviceChosenTimeout;
    return call;
}

// Runs `then` with the answer of the call once it comes; an error or no answer drops it.
template <class Reply, class Then>
void whenAnswered(QDBusPendingCall call, QObject* context, Then then)
{
    auto* watcher = new QDBusPendingCallWatcher(call, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [then](QDBusPendingCallWatcher* answered) {
        answered->deleteLater();
        const QDBusPendingReply<Reply> reply = *answered;
        if (!reply.isError())
            then(reply.value());
    });
}

}  // namespace

DBusNotifications::DBusNotifications(QDBusConnection bus)
    : bus(std::move(bus))
{
    this->bus.connect(notificationService, notificationPath, notificationService, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
    this->bus.connect(notificationService, notificationPath, notificationService,
                      QStringLiteral("NotificationClosed"), this, SLOT(notificationClosed(uint, uint)));
}

void DBusNotifications::notify(const QString& summary, const QString& body)
{
    if (!bus.isConnected())
        return;
    bus.send(notifyCall(summary, body, {}));
}

void DBusNotifications::notifyOffering(const QString& summary, const QString& body, const QString& action,
                                       std::function<void()> chosen)
{
    if (!bus.isConnected())
        return;
    // A service without actions would show the notification without the button; the
    // capabilities are asked each time, as the service may be replaced meanwhile.
    whenAnswered<QStringList>(bus.asyncCall(callTo(QStringLiteral("GetCapabilities"))), this,
                              [this, summary, body, action, chosen](const QStringList& capabilities) {
                                  if (!capabilities.contains(actionsCapability)) {
                                      notify(summary, body);
                                      return;
                                  }
                                  send(summary, body, {offeredActionKey, action},
                                       [this, chosen](uint id) { offeredActions.insert(id, chosen); });
                              });
}

void DBusNotifications::send(const QString& summary, const QString& body, const QStringList& actions,
                             std::function<void(uint id)> sent)
{
    whenAnswered<uint>(bus.asyncCall(notifyCall(summary, body, actions)), this, sent);
}

void DBusNotifications::actionInvoked(uint id, const QString& actionKey)
{
    const auto offered = offeredActions.constFind(id);
    if (offered == offeredActions.cend() || actionKey != offeredActionKey)
        return;
    const std::function<void()> chosen = *offered;
    offeredActions.erase(offered);
    chosen();
}

void DBusNotifications::notificationClosed(uint id, uint)
{
    offeredActions.remove(id);
}
