#include "support/FifoWatch.h"

#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FifoWatch::FifoWatch()
    : fifoPath(folder.filePath(QStringLiteral("pipe")))
{
    const QByteArray path = fifoPath.toLocal8Bit();
    if (!folder.isValid() || ::mkfifo(path.constData(), 0600) != 0)
        throw std::runtime_error("cannot make a named pipe");
    writer = std::thread([this, path] {
        while (!finishing) {
            const int descriptor = ::open(path.constData(), O_WRONLY);
            if (descriptor < 0)
                return;
            opened = opened || !finishing;
            ::close(descriptor);
        }
    });
}

// The watch's own reader lets the waiting writer go.
FifoWatch::~FifoWatch()
{
    finishing = true;
    const int descriptor = ::open(fifoPath.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    writer.join();
    if (descriptor >= 0)
        ::close(descriptor);
}
