#include "support/Files.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace Files {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t permissionsOf(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status.st_mode & 0777;
}

}  // namespace Files
