#include "support/LogCapture.h"

#include <QtGlobal>

#include <mutex>

namespace {

std::mutex capturedLock;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::lock_guard guard(capturedLock);
    captured.append(message);
}

}  // namespace

LogCapture::LogCapture()
{
    {
        std::lock_guard guard(capturedLock);
        captured.clear();
    }
    previousHandler = qInstallMessageHandler(capture);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previousHandler);
}

QStringList LogCapture::lines() const
{
    std::lock_guard guard(capturedLock);
    return captured;
}
