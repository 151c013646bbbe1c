#include "ResidentMemory.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

ResidentMemory::ResidentMemory()
{
    // Writing 5 to clear_refs sets the peak (VmHWM) to the resident memory now. The
    // file takes a plain write; it cannot be truncated as QFile opens files to write.
    const int clearRefs = ::open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (clearRefs >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(clearRefs, "5", 1);
        ::close(clearRefs);
    }
    startKib = statusKib("VmRSS:");
}

double ResidentMemory::peakGrowthKib() const
{
    return statusKib("VmHWM:") - startKib;
}

double ResidentMemory::statusKib(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field))).trimmed().split(' ').first().toDouble();
    }
    return 0.0;
}
