#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// A desktop notification service of the test's own, on a bus the test started: it
// takes the name org.freedesktop.Notifications there and records every Notify call,
// answering each with a new notification id. It lists "actions" among its
// capabilities unless told otherwise, and the test may choose a notification's action
// as a user does. Its calls arrive through the event loop of the thread it lives in.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        // Pairs of an action's key and its label.
        QStringList actions;
    };

    // Throws when it cannot take the service's name on the bus.
    explicit NotificationService(const QString& busAddress);
    ~NotificationService() override;

    QList<Notification> received() const { return notifications; }
    void setOffersActions(bool offers) { offersActions = offers; }
    // The user chose the action labelled so on the notification (counted from 0):
    // the service signals its key. False when it has no such action.
    bool chooseAction(int notification, const QString& label);

signals:
    void ActionInvoked(uint id, const QString& actionKey);

public slots:
    QStringList GetCapabilities() const;
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);

private:
    QDBusConnection bus;
    QList<Notification> notifications;
    bool offersActions = true;
};
