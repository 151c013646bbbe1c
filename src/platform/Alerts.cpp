#include "platform/Alerts.h"

#include "platform/MessageBoxAlerts.h"
#include "platform/Preferences.h"
#include "platform/ReplaceableInstance.h"

#include <QCoreApplication>
#include <QThread>

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
        runUnaskedAlert(title, message, button);
        return;
    }
    QMetaObject::invokeMethod(
        application, [title, message, button] { Alerts::current().runUnaskedAlert(title, message, button); },
        Qt::QueuedConnection);
}

void Alerts::reportUnstored(const QString& title, const QString& what)
{
    runAlert(title,
             QStringLiteral("%1 could not be stored in %2. Check that the file can be written and that the disk "
                            "is not full.")
                 .arg(what, Preferences::standard().filePath()),
             QStringLiteral("OK"));
}
