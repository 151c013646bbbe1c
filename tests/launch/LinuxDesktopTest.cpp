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

namespace {

// The Linux desktop with every start recorded instead of made.
class LinuxDesktopStartingNothing : public LinuxDesktop {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started.append(program);
        started.append(arguments);
        return true;
    }

    QStringList started;
};

}  // namespace

TEST(LinuxDesktop, theServicesOfCodAndUoStartTheGameWithTheirCommandsAsArguments)
{
    QTemporaryDir folder;
    const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QString codmp = placeFile(folder, "codmp", executable);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));

    LinuxDesktopStartingNothing desktop;
    EXPECT_TRUE(desktop.performService(GameApplications::codConnectService, "10.0.0.1:28960"));
    EXPECT_EQ(desktop.started, QStringList({codmp, "+connect 10.0.0.1:28960"}));

    desktop.started.clear();
    EXPECT_TRUE(desktop.performService(GameApplications::codCommandService, "password s3cret \n connect 10.0.0.1:28960"));
    EXPECT_EQ(desktop.started, QStringList({codmp, "+password s3cret", "+connect 10.0.0.1:28960"}));

    desktop.started.clear();
    EXPECT_FALSE(desktop.performService(GameApplications::uoConnectService, "10.0.0.1:28960"));
    EXPECT_FALSE(desktop.performService("Call of Duty MP/Quit", "now"));
    EXPECT_TRUE(desktop.started.isEmpty());
    qputenv("PATH", path);
}
