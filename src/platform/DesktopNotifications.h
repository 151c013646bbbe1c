#pragma once

#include <QString>

#include <functional>
#include <memory>

// Notifications on the desktop, which reach a user whose window is in the background
// or hidden. The application sends them to the desktop's notification service over
// D-Bus; tests install a recorder. Without a service the notification is lost, so a
// caller tells the user in the window too.
class DesktopNotifications {
public:
    virtual ~DesktopNotifications() = default;

    // Asks the desktop to show the summary and the body; returns at once, without
    // waiting to learn whether it did.
    virtual void notify(const QString& summary, const QString& body) = 0;
    // Like notify, and offers the action (its label) where the service can show
    // actions: when the user chooses it, `chosen` runs on the UI thread. Called on the
    // UI thread.
    virtual void notifyOffering(const QString& summary, const QString& body, const QString& action,
                                std::function<void()> chosen) = 0;

    static DesktopNotifications& current();
    static void install(std::unique_ptr<DesktopNotifications> notifications);
};
