#pragma once

#include "platform/DesktopNotifications.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop.org notification service
// (org.freedesktop.Notifications) on a D-Bus bus, the user's session bus in the
// application. Calls are sent without waiting for their answers: a bus without the
// service, or no bus at all, drops the notification and holds nothing up.
//
// An action is offered only where the service lists "actions" among its
// capabilities; the service then tells which notification's action the user chose
// (ActionInvoked), and when a notification went (NotificationClosed).
class DBusNotifications : public QObject, public DesktopNotifications {
    Q_OBJECT
public:
    explicit DBusNotifications(QDBusConnection bus);

    // Services may read the body as markup: its markup characters, which may come
    // from game servers, are sent as entities, so that they show as they are.
    void notify(const QString& summary, const QString& body) override;
    void notifyOffering(const QString& summary, const QString& body, const QString& action,
                        std::function<void()> chosen) override;

private slots:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

private:
    // Sends the notification with the actions (key, label, ...); its id comes back
    // to `sent` when the service answers.
    void send(const QString& summary, const QString& body, const QStringList& actions,
              std::function<void(uint id)> sent);

    QDBusConnection bus;
    // What runs when the user chooses the action of a notification still shown, by id.
    QHash<uint, std::function<void()>> offeredActions;
};
