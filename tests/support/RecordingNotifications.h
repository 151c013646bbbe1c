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
    };

    void notify(const QString& summary, const QString& body) override;
    QList<Sent> sent() const;

    // Installs a new recorder as the process's notifications and returns it.
    static RecordingNotifications& install();

private:
    mutable std::mutex lock;
    QList<Sent> notifications;
};
