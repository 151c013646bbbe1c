#include "app/Alerts.h"

#include "app/MessageBoxAlerts.h"

#include <QCoreApplication>
#include <QThread>

#include <mutex>

namespace {

std::mutex currentLock;
std::unique_ptr<Alerts> currentAlerts;

}  // namespace

Alerts& Alerts::current()
{
    std::lock_guard guard(currentLock);
    if (!currentAlerts)
        currentAlerts = std::make_unique<MessageBoxAlerts>();
    return *currentAlerts;
}

void Alerts::install(std::unique_ptr<Alerts> alerts)
{
    std::lock_guard guard(currentLock);
    currentAlerts = std::move(alerts);
}

void Alerts::notify(const QString& title, const QString& message, const QString& button)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) {
        runAlert(title, message, button);
        return;
    }
    QMetaObject::invokeMethod(
        application, [title, message, button] { Alerts::current().runAlert(title, message, button); },
        Qt::QueuedConnection);
}
