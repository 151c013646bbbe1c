#pragma once

#include "platform/DesktopNotifications.h"

#include <QList>
#include <QString>

#include <mutex>

// Records the desktop notifications asked for, instead of sending any. Safe to call
// from any thread.
class RecordingNotifications : public DesktopNotifications {
public:
    struct Sent {
        QString summary;
        QString body;
        // The label of the action offered, or empty.
        QString action;
    };

    void notify(const QString& summary, const QString& body) override;
    void notifyOffering(const QString& summary, const QString& body, const QString& action,
                        std::function<void()> chosen) override;
    QList<Sent> sent() const;

    // Installs a new recorder as the process's notifications and returns it.
    static RecordingNotifications& install();

private:
    mutable std::mutex lock;
    QList<Sent> notifications;
};
