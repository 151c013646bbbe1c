#include "app/Alerts.h"

#include "app/MessageBoxAlerts.h"

#include <QCoreApplication>
#include <QThread>

#include "model/ReplaceableInstance.h"

namespace {

ReplaceableInstance<Alerts>& theAlerts()
{
    static ReplaceableInstance<Alerts> alerts([] { return std::make_unique<MessageBoxAlerts>(); });
    return alerts;
}

}  // namespace

Alerts& Alerts::current()
{
    return theAlerts().current();
}

void Alerts::install(std::unique_ptr<Alerts> alerts)
{
    theAlerts().install(std::move(alerts));
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
