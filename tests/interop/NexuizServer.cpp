#include "NexuizServer.h"

#include "LoopbackPort.h"

#include "net/QuakeProtocol.h"

#include <QFile>
#include <QFileInfo>

#include <thread>

namespace {

using namespace std::chrono_literals;

NexuizServer* const registered = static_cast<NexuizServer*>(testing::AddGlobalTestEnvironment(new NexuizServer));

constexpr int receiveTimeoutMicroseconds = 500000;

QByteArray connectionless(const QByteArray& text)
{
    return QuakeProtocol::connectionlessHeader + text;
}

}  // namespace

NexuizServer& NexuizServer::instance()
{
    return *registered;
}

bool NexuizServer::isInstalled() const
{
    return QFileInfo(QString::fromLatin1(program)).isExecutable();
}

bool NexuizServer::isRunning()
{
    return process && process->isRunning();
}

QString NexuizServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(serverPort);
}

void NexuizServer::waitForTurn()
{
    static std::chrono::steady_clock::time_point last;
    std::this_thread::sleep_until(last + 2100ms);
    last = std::chrono::steady_clock::now();
}

void NexuizServer::SetUp()
{
    if (!isInstalled())
        return;
    home = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(home->isValid());
    serverPort = freeLoopbackPort();

    // sv_public 0 sends no heartbeat to any master; both addresses it listens on are
    // loopback ones. rcon_secure goes first: setting it clears the password.
    process = std::make_unique<ChildProcess>(ChildProcess::Start{
        .program = QString::fromLatin1(program),
        .arguments = {"+set", "net_address", "127.0.0.1", "+set", "net_address_ipv6", "::1", "+set", "port",
                      QString::number(serverPort), "+set", "sv_public", "0", "+set", "rcon_secure", "0", "+set",
                      "rcon_password", rconPassword, "+set", "hostname", colouredHostName, "+map", map},
        .workingDirectory = home->path(),
        .environment = {QStringLiteral("HOME=") + home->path()},
        .outputFile = home->filePath(QStringLiteral("server.log"))});

    // Loading the game's data takes a few seconds.
    bool ready = false;
    for (int attempt = 0; attempt < 60 && !ready && isRunning(); ++attempt) {
        waitForTurn();
        ready = answersStatus();
    }
    ASSERT_TRUE(ready) << "the Nexuiz server did not come up; its log ends with:\n"
                       << log().right(3000).toStdString();
}

void NexuizServer::TearDown()
{
    visitor.reset();
    process.reset();
    home.reset();
}

bool NexuizServer::answersStatus() const
{
    DatagramSocket socket;
    if (!socket.setReceiveTimeout(receiveTimeoutMicroseconds) || !socket.connectTo(address())
        || !socket.send(QuakeProtocol::statusRequest()))
        return false;
    return socket.receive(QuakeProtocol::receiveBufferBytes).contains(map);
}

bool NexuizServer::connectVisitor()
{
    visitor = std::make_unique<DatagramSocket>();
    if (!visitor->setReceiveTimeout(receiveTimeoutMicroseconds) || !visitor->connectTo(address())
        || !visitor->send(connectionless("getchallenge")))
        return false;
    const QByteArray challenge = visitor->receive(QuakeProtocol::receiveBufferBytes);
    const QByteArray challengeTag = connectionless("challenge ");
    if (!challenge.startsWith(challengeTag))
        return false;
    const QByteArray token = challenge.mid(challengeTag.size()).split('\0').first();
    if (!visitor->send(connectionless("connect\\protocol\\darkplaces 3\\protocols\\DP7\\challenge\\" + token)))
        return false;
    return visitor->receive(QuakeProtocol::receiveBufferBytes) == connectionless("accept");
}

QString NexuizServer::log() const
{
    QFile file(home->filePath(QStringLiteral("server.log")));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(no log)");
    return QString::fromLocal8Bit(file.readAll());
}
