#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// A desktop notification service of the test's own, on a bus the test started: it
// takes the name org.freedesktop.Notifications there and records every Notify call,
// answering each with a new notification id. Its calls arrive through the event loop
// of the thread it lives in.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
    };

    // Throws when it cannot take the service's name on the bus.
    explicit NotificationService(const QString& busAddress);
    ~NotificationService() override;

    QList<Notification> received() const { return notifications; }

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);

private:
    QDBusConnection bus;
    QList<Notification> notifications;
};
