#include "net/MapListListener.h"

#include <QCoreApplication>
#include <QThread>

#include <mutex>

namespace {

std::mutex listenerLock;
MapListListener::Listener installed;

}  // namespace

void MapListListener::setMapListListener(Listener listener)
{
    std::lock_guard guard(listenerLock);
    installed = std::move(listener);
}

void MapListListener::mapListRefreshed(const CodServerPtr& server)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        tellListener(server);
    else
        QMetaObject::invokeMethod(application, [server] { tellListener(server); }, Qt::QueuedConnection);
}

void MapListListener::tellListener(const CodServerPtr& server)
{
    Listener listener;
    {
        std::lock_guard guard(listenerLock);
        listener = installed;
    }
    if (listener)
        listener(server);
}
