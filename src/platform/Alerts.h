#pragma once

#include <QString>

#include <memory>

// Modal alerts and the system beep. The application shows message boxes; tests
// install a recorder that answers with scripted buttons.
class Alerts {
public:
    // How an alert was dismissed: one of its buttons, or, for an alert with more than
    // one button, closed or escaped without choosing.
    enum Answer { DefaultButton = 1, AlternateButton = 0, OtherButton = -1, Cancelled = -2 };

    virtual ~Alerts() = default;

    // Shows a modal alert on the UI thread and returns the button pressed. An empty
    // button title leaves that button out.
    virtual Answer runAlert(const QString& title, const QString& message, const QString& defaultButton,
                            const QString& alternateButton = {}, const QString& otherButton = {}) = 0;
    virtual void beep() = 0;
    // Shows a one-button alert that comes unasked, from a network exchange, while the
    // user may be typing into the window: only a click on its button (or Escape)
    // dismisses it, so that no Enter or blank meant for a field answers it unseen.
    virtual void runUnaskedAlert(const QString& title, const QString& message, const QString& button) = 0;

    // Shows an unasked one-button alert from any thread. On the UI thread it waits
    // for the user; on a worker it is queued onto the UI thread and the worker goes
    // on at once, so no worker is ever held by a dialog (nor a quit that joins workers).
    void notify(const QString& title, const QString& message, const QString& button);
    // Tells that what the user asked to keep could not be written to the settings file.
    void reportUnstored(const QString& title, const QString& what);

    static Alerts& current();
    static void install(std::unique_ptr<Alerts> alerts);
};
