#include "launch/GameApplications.h"
#include "launch/LinuxDesktop.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A new folder that is the whole PATH while the object lives.
class PathFolder {
public:
    PathFolder()
        : savedPath(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folder.path()));
    }
    ~PathFolder() { qputenv("PATH", savedPath); }
    PathFolder(const PathFolder&) = delete;
    PathFolder& operator=(const PathFolder&) = delete;

    // Puts a script into the folder and returns its path.
    QString placeFile(const QString& name, bool executable = true) const
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
        file.setPermissions(executable ? readWrite | QFile::ExeOwner : readWrite);
        return path;
    }

private:
    QTemporaryDir folder;
    QByteArray savedPath;
};

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

TEST(LinuxDesktop, findsAGameOnThePathAndStartsCodAndUoServicesWithTheirCommandsAsArguments)
{
    const PathFolder path;
    const QString iw3mp = path.placeFile("iw3mp");
    const QString codmp = path.placeFile("codmp");
    const QString urbanTerror = path.placeFile("Quake3-UrT");
    path.placeFile("coduomp", false);

    LinuxDesktopStartingNothing desktop;
    EXPECT_EQ(desktop.applicationPath(GameApplications::callOfDuty4), iw3mp);
    EXPECT_EQ(desktop.applicationPath(GameApplications::urbanTerror), urbanTerror);
    EXPECT_TRUE(desktop.applicationPath(GameApplications::unitedOffensive).isEmpty());
    EXPECT_TRUE(desktop.applicationPath(GameApplications::callOfDuty2).isEmpty());
    EXPECT_TRUE(desktop.applicationPath("Solitaire").isEmpty());

    EXPECT_TRUE(desktop.performService(GameApplications::codConnectService, "10.0.0.1:28960"));
    EXPECT_TRUE(
        desktop.performService(GameApplications::codCommandService, "password s3cret \n connect 10.0.0.1:28960"));
    EXPECT_EQ(desktop.started, QStringList({codmp, "+connect 10.0.0.1:28960", codmp, "+password s3cret",
                                            "+connect 10.0.0.1:28960"}));

    desktop.started.clear();
    EXPECT_FALSE(desktop.performService(GameApplications::uoConnectService, "10.0.0.1:28960"));
    EXPECT_FALSE(desktop.performService("Call of Duty MP/Quit", "now"));
    EXPECT_TRUE(desktop.started.isEmpty());
}
