#include "OpenArenaServer.h"

#include "LoopbackPort.h"

#include "net/DatagramSocket.h"
#include "net/QuakeProtocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>

namespace {

using namespace std::chrono_literals;

OpenArenaServer* const registered =
    static_cast<OpenArenaServer*>(testing::AddGlobalTestEnvironment(new OpenArenaServer));

}  // namespace

const QStringList OpenArenaServer::extraConfigFiles = {
    QStringLiteral("ffa.cfg"), QStringLiteral("language.cfg"), QStringLiteral("server.cfg")};

OpenArenaServer& OpenArenaServer::instance()
{
    return *registered;
}

bool OpenArenaServer::isInstalled() const
{
    return QFileInfo(QString::fromLatin1(program)).isExecutable();
}

bool OpenArenaServer::isRunning()
{
    return process && process->isRunning();
}

QString OpenArenaServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(serverPort);
}

void OpenArenaServer::waitForTurn()
{
    static std::chrono::steady_clock::time_point last;
    const auto next = last + 1100ms;
    std::this_thread::sleep_until(next);
    last = std::chrono::steady_clock::now();
}

void OpenArenaServer::SetUp()
{
    if (!isInstalled())
        return;
    home = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(home->isValid());
    writeConfigFiles();
    serverPort = freeLoopbackPort();

    // dedicated 1 is a LAN server: it sends no heartbeat to any master. net_enabled 1
    // keeps it on IPv4, bound to the loopback address alone.
    process = std::make_unique<ChildProcess>(ChildProcess::Start{
        .program = QString::fromLatin1(program),
        .arguments = {"+set", "dedicated", "1", "+set", "net_enabled", "1", "+set", "net_ip", "127.0.0.1", "+set", "net_port",
         QString::number(serverPort), "+set", "rconpassword", rconPassword, "+set", "sv_hostname", "^1Zorvel^7Test",
         "+set", "sv_maxclients", "8", "+set", "bot_enable", "1", "+set", "g_doWarmup", "0", "+set", "ttycon", "0",
         "+map", "oa_dm1", "+addbot", "sarge", "1", "+addbot", "grism", "1"},
        .workingDirectory = home->path(),
        .environment = {QStringLiteral("HOME=") + home->path()},
        .outputFile = home->filePath(QStringLiteral("server.log"))});

    // Loading the map and the bots takes a few seconds.
    bool ready = false;
    for (int attempt = 0; attempt < 120 && !ready && isRunning(); ++attempt) {
        waitForTurn();
        ready = answersWithBothBots();
    }
    ASSERT_TRUE(ready) << "the OpenArena server did not come up; its log ends with:\n" << logTail().toStdString();
}

void OpenArenaServer::TearDown()
{
    process.reset();
    home.reset();
}

void OpenArenaServer::writeConfigFiles() const
{
    const QString baseoa = home->filePath(QStringLiteral(".openarena/baseoa"));
    ASSERT_TRUE(QDir().mkpath(baseoa));
    for (const QString& name : extraConfigFiles) {
        QFile file(QDir(baseoa).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("// written by the Zorvel interop suite\n");
    }
}

bool OpenArenaServer::answersWithBothBots() const
{
    DatagramSocket socket;
    if (!socket.setReceiveTimeout(500000) || !socket.connectTo(address())
        || !socket.send(QuakeProtocol::statusRequest()))
        return false;
    const QByteArray answer = socket.receive(QuakeProtocol::receiveBufferBytes);
    return answer.contains("\"Sarge\"") && answer.contains("\"Grism\"");
}

QString OpenArenaServer::logTail() const
{
    QFile log(home->filePath(QStringLiteral("server.log")));
    if (!log.open(QIODevice::ReadOnly))
        return QStringLiteral("(no log)");
    return QString::fromLocal8Bit(log.readAll().right(3000));
}
