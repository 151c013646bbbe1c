#include "platform/PrivateFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t ownerOnly = S_IRUSR | S_IWUSR;

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, static_cast<size_t>(data.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

// Writes the data into a file that must not exist yet; false, leaving no file
// behind, when it could not be written whole.
bool writeNewFile(const QString& path, const QByteArray& data)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(nativePath(path).constData());
        return false;
    }
    return true;
}

// The newest of the copies matching the pattern in the folder, or nothing.
std::optional<QString> newestCopy(const QDir& folder, const QString& pattern)
{
    const QFileInfoList copies = folder.entryInfoList({pattern}, QDir::Files, QDir::Time);
    return copies.isEmpty() ? std::nullopt : std::optional(copies.first().absoluteFilePath());
}

}  // namespace

QByteArray PrivateFile::contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PrivateFile::createEmpty(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, ownerOnly);
    if (fd >= 0)
        ::close(fd);
}

bool PrivateFile::write(const QString& path, const QByteArray& data)
{
    const QString partial = path + QStringLiteral(".partial");
    ::unlink(nativePath(partial).constData());
    if (!writeNewFile(partial, data))
        return false;
    if (::rename(nativePath(partial).constData(), nativePath(path).constData()) != 0) {
        ::unlink(nativePath(partial).constData());
        return false;
    }
    return true;
}

std::optional<QString> PrivateFile::keepDatedCopy(const QString& neighbour, const QString& what,
                                                  const QByteArray& data)
{
    const QFileInfo beside(neighbour);
    // The same damage met again, at another start, is kept already.
    const std::optional<QString> newest =
        newestCopy(beside.absoluteDir(), QStringLiteral("%1-%2-*.damaged").arg(beside.completeBaseName(), what));
    if (newest && contentOf(*newest) == data)
        return newest;
    const QString stem = QStringLiteral("%1/%2-%3-%4")
                             .arg(beside.absolutePath(), beside.completeBaseName(), what,
                                  QDate::currentDate().toString(Qt::ISODate));
    // Another copy of the same day keeps its name: this one takes the next number.
    for (int copy = 1;; ++copy) {
        const QString path = copy == 1 ? stem + QStringLiteral(".damaged")
                                       : QStringLiteral("%1-%2.damaged").arg(stem).arg(copy);
        if (QFileInfo::exists(path))
            continue;
        if (!writeNewFile(path, data))
            return std::nullopt;
        return path;
    }
}

void PrivateFile::restrictToOwner(const QString& path)
{
    ::chmod(nativePath(path).constData(), ownerOnly);
}
