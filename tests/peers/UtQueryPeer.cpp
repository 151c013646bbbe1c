#include "peers/UtQueryPeer.h"

#include "net/UtProtocol.h"

#include <QtEndian>

UtQueryPeer::UtQueryPeer()
{
    start();
}

UtQueryPeer::UtQueryPeer(quint16 port)
    : UdpPeer(port)
{
    start();
}

UtQueryPeer::~UtQueryPeer()
{
    stop();
}

QByteArray UtQueryPeer::string(const QByteArray& text)
{
    return char(text.size() + 1) + text + '\0';
}

QByteArray UtQueryPeer::int32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray UtQueryPeer::infoAnswer(const QByteArray& name, const QByteArray& map, const QByteArray& gametype,
                                   qint32 maxPlayers)
{
    // Server id, an empty address, game port and query port come before the name.
    const QByteArray beforeName = int32(7) + '\0' + int32(7777) + int32(7778);
    const QByteArray afterGametype = int32(3) + int32(maxPlayers) + int32(0) + int32(0) + string("");
    return *UtProtocol::request(UtProtocol::Information) + beforeName + string(name) + string(map)
        + string(gametype) + afterGametype;
}

QByteArray UtQueryPeer::rulesAnswer(const Rules& rules)
{
    QByteArray answer = *UtProtocol::request(UtProtocol::Rules);
    for (const auto& [key, value] : rules)
        answer += string(key) + string(value);
    return answer;
}

QByteArray UtQueryPeer::playersAnswer(const QList<Player>& players)
{
    QByteArray answer = *UtProtocol::request(UtProtocol::Players);
    qint32 id = 0;
    for (const Player& player : players)
        answer += int32(id++) + string(player.name) + int32(player.ping) + int32(player.score) + int32(0);
    return answer;
}

void UtQueryPeer::setAnswers(int kind, const QList<QByteArray>& datagrams)
{
    std::lock_guard guard(configLock);
    const QByteArray request = *UtProtocol::request(kind);
    answers.insert(request, datagrams);
    answered.remove(request);
}

void UtQueryPeer::answerThrough(UdpPeer* other)
{
    std::lock_guard guard(configLock);
    relay = other;
}

QList<QByteArray> UtQueryPeer::answerTo(const QByteArray& request)
{
    std::lock_guard guard(configLock);
    const QList<QByteArray> datagrams = answers.value(request);
    if (datagrams.isEmpty())
        return {};
    const QByteArray answer = datagrams.at(std::min<qsizetype>(answered[request]++, datagrams.size() - 1));
    if (!relay)
        return {answer};
    relay->sendToLastSenderOf(*this, answer);
    return {};
}
