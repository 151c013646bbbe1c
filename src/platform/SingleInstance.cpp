#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <cstdio>

namespace {

const QByteArray comeToFront = QByteArrayLiteral("come to front\n");
const QByteArray cameToFront = QByteArrayLiteral("came to front\n");

// How long a later start waits for the running one: its lock may come a moment
// before its socket listens, and its event loop may be busy for a while.
constexpr int handOverMilliseconds = 10000;
constexpr int connectRetryMilliseconds = 50;

QString canonicalFolder(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(folder).absoluteFilePath() : canonical;
}

void tell(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

}  // namespace

SingleInstance::SingleInstance(const QString& settingsFolder)
    : folder(settingsFolder)
    , lock(settingsFolder + QStringLiteral("/Zorvel-window.lock"))
{
    // Only the death of the holder frees the lock, never its age: a window may run
    // for weeks.
    lock.setStaleLockTime(0);
    server.setSocketOptions(QLocalServer::UserAccessOption);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(const QString& settingsFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(settingsFolder).toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("zorvel-") + QString::fromLatin1(hash.left(32));
}

bool SingleInstance::claim()
{
    QDir().mkpath(folder);
    if (lock.tryLock(0)) {
        listen();
        return true;
    }
    if (lock.error() == QLockFile::LockFailedError)
        return false;
    qWarning().noquote() << "No lock can be made in the settings folder" << folder
                         << ": a second start on it will not be noticed";
    return true;
}

void SingleInstance::listen()
{
    // We hold the lock: a socket left behind by a run that died is stale.
    const QString name = serverNameFor(folder);
    QLocalServer::removeServer(name);
    if (!server.listen(name)) {
        qWarning().noquote() << "A later start cannot reach this window:" << server.errorString();
        return;
    }
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            answer(socket);
        }
    });
}

void SingleInstance::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine())
        return;
    if (socket->readLine() == comeToFront) {
        socket->write(cameToFront);
        socket->flush();
        emit secondStart();
    }
    socket->disconnectFromServer();
}

bool SingleInstance::handOver() const
{
    const QDeadlineTimer deadline(handOverMilliseconds);
    QLocalSocket socket;
    socket.connectToServer(serverNameFor(folder));
    while (!socket.waitForConnected(connectRetryMilliseconds) && !deadline.hasExpired()) {
        QThread::msleep(connectRetryMilliseconds);
        socket.connectToServer(serverNameFor(folder));
    }
    socket.write(comeToFront);
    socket.waitForBytesWritten(int(deadline.remainingTime()));
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    const bool answered = socket.canReadLine() && socket.readLine() == cameToFront;
    if (answered)
        tell(QStringLiteral("Zorvel already runs on the settings folder %1: its window was brought to the front.")
                 .arg(folder));
    else
        tell(QStringLiteral("Zorvel already runs on the settings folder %1, but it did not answer.").arg(folder));
    return answered;
}
