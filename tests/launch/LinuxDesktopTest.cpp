#include "launch/GameApplications.h"
#include "launch/LinuxDesktop.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Puts a file of the given permissions into the folder and returns its path.
QString placeFile(const QTemporaryDir& folder, const QString& name, QFile::Permissions permissions)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.setPermissions(permissions);
    return path;
}

}  // namespace

TEST(LinuxDesktop, findsAGameByTheExecutablesItInstallsOnThePath)
{
    QTemporaryDir folder;
    const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QString iw3mp = placeFile(folder, "iw3mp", executable);
    const QString urbanTerror = placeFile(folder, "Quake3-UrT", executable);
    placeFile(folder, "codmp", QFile::ReadOwner | QFile::WriteOwner);

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));
    LinuxDesktop desktop;
    EXPECT_EQ(desktop.applicationPath(GameApplications::callOfDuty4), iw3mp);
    EXPECT_EQ(desktop.applicationPath(GameApplications::urbanTerror), urbanTerror);
    EXPECT_TRUE(desktop.applicationPath(GameApplications::callOfDuty).isEmpty());
    EXPECT_TRUE(desktop.applicationPath(GameApplications::callOfDuty2).isEmpty());
    EXPECT_TRUE(desktop.applicationPath("Solitaire").isEmpty());
    qputenv("PATH", path);
}
