#include "QstatRun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>

std::optional<double> QstatRun::seconds(const QStringList& addresses, int simultaneous, double timeoutSeconds)
{
    QTemporaryFile serverList;
    if (!serverList.open())
        return std::nullopt;
    serverList.write(addresses.join(u'\n').toLatin1() + '\n');
    serverList.flush();

    QProcess qstat;
    qstat.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer wall;
    wall.start();
    // quakestat counts the first send as a try, so "-retry 1" sends each query once.
    // "-sendinterval 0": the scan's threads send as soon as they are ready, so
    // quakestat must not be held back by its default pause between two sends.
    // "-cod4s" asks with "getinfo", one exchange per server like the scan's
    // "getstatus".
    qstat.start(QStringLiteral("quakestat"),
                {QStringLiteral("-default"), QStringLiteral("cod4s"), QStringLiteral("-f"), serverList.fileName(),
                 QStringLiteral("-maxsim"), QString::number(simultaneous), QStringLiteral("-retry"), QStringLiteral("1"),
                 QStringLiteral("-interval"), QString::number(timeoutSeconds), QStringLiteral("-sendinterval"),
                 QStringLiteral("0"), QStringLiteral("-nh"), QStringLiteral("-raw"), QStringLiteral(",")});
    if (!qstat.waitForFinished(-1) || qstat.exitStatus() != QProcess::NormalExit || qstat.exitCode() != 0)
        return std::nullopt;
    return static_cast<double>(wall.nsecsElapsed()) / 1e9;
}
