#include "peers/GameServerPeer.h"

#include "net/QuakeProtocol.h"

GameServerPeer::GameServerPeer()
{
    start();
}

GameServerPeer::GameServerPeer(quint16 requestedPort)
    : UdpPeer(requestedPort)
{
    start();
}

GameServerPeer::~GameServerPeer()
{
    stop();
}

QByteArray GameServerPeer::printDatagram(const QByteArray& text)
{
    return QuakeProtocol::connectionlessHeader + "print\n" + text;
}

QByteArray GameServerPeer::statusDatagram(const QByteArray& text)
{
    return QuakeProtocol::connectionlessHeader + "statusResponse\n" + text;
}

void GameServerPeer::setRconPassword(const QByteArray& password)
{
    std::lock_guard guard(configLock);
    rconPassword = password;
}

void GameServerPeer::setStatusAnswer(const QList<QByteArray>& datagrams)
{
    std::lock_guard guard(configLock);
    statusAnswer = datagrams;
}

void GameServerPeer::setRconAnswer(const QByteArray& command, const QList<QByteArray>& datagrams)
{
    std::lock_guard guard(configLock);
    rconAnswers.insert(command, datagrams);
}

void GameServerPeer::setInfoAnswer(const QByteArray& text)
{
    std::lock_guard guard(configLock);
    infoAnswer = text;
}

void GameServerPeer::setSilent(bool value)
{
    std::lock_guard guard(configLock);
    silent = value;
}

QList<QByteArray> GameServerPeer::answerTo(const QByteArray& request)
{
    std::lock_guard guard(configLock);
    const QByteArray& header = QuakeProtocol::connectionlessHeader;
    if (silent || !request.startsWith(header))
        return {};
    const QByteArray body = request.mid(header.size());
    if (body == "getstatus")
        return statusAnswer;
    if (body.startsWith("getinfo") && !infoAnswer.isEmpty())
        return {QuakeProtocol::connectionlessHeader + "infoResponse\n" + infoAnswer};
    if (body.startsWith("rcon "))
        return answerToRcon(body.mid(5));
    return {};
}

QList<QByteArray> GameServerPeer::answerToRcon(const QByteArray& passwordAndCommand) const
{
    const qsizetype blank = passwordAndCommand.indexOf(' ');
    const QByteArray password = blank < 0 ? passwordAndCommand : passwordAndCommand.left(blank);
    const QByteArray command = blank < 0 ? QByteArray() : passwordAndCommand.mid(blank + 1);
    if (password != rconPassword)
        return {printDatagram("Bad rconpassword.\n")};
    return rconAnswers.value(command);
}
