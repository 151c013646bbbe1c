#include "launch/LinuxDesktop.h"

#include "launch/GameApplications.h"

#include <QHash>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The executable names tried, in order, for a game application identifier.
QStringList executableNames(const QString& identifier)
{
    // The launcher names each game installs on Linux, directly or through Wine
    // wrapper scripts: the multiplayer executables of the Call of Duty games and the
    // names of the Urban Terror client (its distribution package and its own
    // archive). This is the one table to extend when a game installs elsewhere.
    static const QHash<QString, QStringList> launchers = {
        {GameApplications::callOfDuty, {QStringLiteral("codmp")}},
        {GameApplications::unitedOffensive, {QStringLiteral("coduomp")}},
        {GameApplications::callOfDuty2, {QStringLiteral("cod2mp")}},
        {GameApplications::callOfDuty4, {QStringLiteral("iw3mp")}},
        {GameApplications::urbanTerror,
         {QStringLiteral("urbanterror"), QStringLiteral("Quake3-UrT"), QStringLiteral("Quake3-UrT.x86_64")}},
    };
    return launchers.value(identifier);
}

}  // namespace

QString LinuxDesktop::applicationPath(const QString& identifier)
{
    for (const QString& name : executableNames(identifier)) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool LinuxDesktop::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
