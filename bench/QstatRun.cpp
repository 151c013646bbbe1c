#include "QstatRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

// Its output goes to a file beside the list: pipes left unread while the other
// processes run could fill up and hold it.
std::unique_ptr<QProcess> startPart(const QString& listFile, qsizetype partSize, double timeoutSeconds, int tries)
{
    auto qstat = std::make_unique<QProcess>();
    qstat->setStandardOutputFile(listFile + QStringLiteral(".out"));
    qstat->start(QStringLiteral("quakestat"),
                 {QStringLiteral("-default"), QStringLiteral("cod4s"), QStringLiteral("-f"), listFile,
                  QStringLiteral("-retry"), QString::number(tries), QStringLiteral("-interval"),
                  QString::number(timeoutSeconds), QStringLiteral("-maxsim"), QString::number(partSize),
                  QStringLiteral("-sendinterval"), QStringLiteral("0"), QStringLiteral("-nh"), QStringLiteral("-raw"),
                  QStringLiteral(",")});
    return qstat;
}

bool writeList(const QString& path, const QStringList& addresses)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(addresses.join(u'\n').toLatin1() + '\n') > 0;
}

}  // namespace

std::optional<QstatRun::Result> QstatRun::run(const QStringList& addresses, int processes, double timeoutSeconds,
                                              int tries)
{
    const QTemporaryDir folder;
    const qsizetype partSize = (addresses.size() + processes - 1) / processes;
    QStringList files;
    for (qsizetype from = 0; from < addresses.size(); from += partSize) {
        files.append(folder.filePath(QString::number(from)));
        if (!writeList(files.last(), addresses.mid(from, partSize)))
            return std::nullopt;
    }
    QElapsedTimer wall;
    wall.start();
    std::vector<std::unique_ptr<QProcess>> parts;
    for (const QString& file : files)
        parts.push_back(startPart(file, partSize, timeoutSeconds, tries));
    Result result{0.0, 0};
    for (const std::unique_ptr<QProcess>& part : parts) {
        if (!part->waitForFinished(-1) || part->exitStatus() != QProcess::NormalExit || part->exitCode() != 0)
            return std::nullopt;
    }
    result.seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    for (const QString& file : files) {
        QFile output(file + QStringLiteral(".out"));
        if (!output.open(QIODevice::ReadOnly))
            return std::nullopt;
        result.answers += answersIn(output.readAll());
    }
    return result;
}

int QstatRun::answersIn(const QByteArray& output)
{
    int answers = 0;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        answers += fields.size() > 3 && fields.first() == "COD4S" ? 1 : 0;
    }
    return answers;
}
