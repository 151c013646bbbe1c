#include "launch/GameApplications.h"
#include "launch/LinuxDesktop.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(LinuxDesktop, findsAGameOnThePathAndStartsCodAndUoServicesWithTheirCommandsAsArguments)
{
    // A new folder is the whole PATH during the test.
    const QTemporaryDir folder;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));
    const auto restorePath = qScopeGuard([&savedPath] { qputenv("PATH", savedPath); });
    const auto placeScript = [&folder](const QString& name, QFile::Permissions permissions) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | permissions);
        return file.fileName();
    };
    const QString iw3mp = placeScript("iw3mp", QFile::ExeOwner);
    const QString codmp = placeScript("codmp", QFile::ExeOwner);
    const QString urbanTerror = placeScript("Quake3-UrT", QFile::ExeOwner);
    placeScript("coduomp", {});

    LinuxDesktopStartingNothing desktop;
    EXPECT_EQ(desktop.applicationPath(GameApplications::callOfDuty4), iw3mp);
    EXPECT_EQ(desktop.applicationPath(GameApplications::urbanTerror), urbanTerror);
    EXPECT_TRUE(desktop.applicationPath(GameApplications::unitedOffensive).isEmpty());
    EXPECT_TRUE(desktop.applicationPath(GameApplications::callOfDuty2).isEmpty());

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
