// The UT2004 query of a server record: a probe finds the query port, then the
// server's information, rules and players fill the record.
#include "model/CodServer.h"

#include "net/DatagramSocket.h"
#include "net/UtInfoAnswer.h"
#include "net/UtPlayersAnswer.h"
#include "net/UtProtocol.h"
#include "net/UtRulesAnswer.h"
#include "platform/Preferences.h"

#include <QElapsedTimer>

namespace {

const QString ut2004GameName = QStringLiteral("UT2004");
const QString failedPing = QStringLiteral("---");

// Rule keys that fill the record, and the value that marks a password-protected game.
const QString adminNameRule = QStringLiteral("AdminName");
const QString adminEmailRule = QStringLiteral("AdminEmail");
const QString serverVersionRule = QStringLiteral("ServerVersion");
const QString gamePasswordRule = QStringLiteral("GamePassword");
const QString passwordRequired = QStringLiteral("True");

struct Reply {
    QByteArray answer;
    double milliseconds = 0;
};

// Sends the request to the query port and waits for one answer datagram, which is
// empty when none came. None when the socket could not be set up or send. The socket
// is connected, so only the queried address and port can answer.
std::optional<Reply> exchange(const QString& address, int portOffset, const QByteArray& request)
{
    QElapsedTimer clock;
    clock.start();
    DatagramSocket socket;
    if (!socket.isOpen() || !socket.setReceiveTimeout(Preferences::standard().integerForKey(QStringLiteral("Timeout")))
        || !socket.connectTo(address, portOffset) || !socket.send(request))
        return std::nullopt;
    const QByteArray answer = socket.receive(UtProtocol::receiveBufferBytes);
    return Reply{answer, static_cast<double>(clock.nsecsElapsed()) / 1e6};
}

void markFailed(CodServer& server)
{
    server.setCommError(CodServer::Unreachable);
    server.setServerPing(failedPing);
}

void applyInformation(CodServer& server, const QByteArray& answer)
{
    const std::optional<UtInfoAnswer::Fields> fields = UtInfoAnswer::parse(answer);
    if (!fields) {
        markFailed(server);
        return;
    }
    if (fields->serverName)
        server.learnHostName(*fields->serverName);
    if (fields->mapName)
        server.setServerMapName(*fields->mapName);
    if (fields->gametype)
        server.setServerGametype(*fields->gametype);
    if (fields->maxClients)
        server.setServerMaxClients(*fields->maxClients);
}

void applyRules(CodServer& server, const QByteArray& answer)
{
    ServerRules rules;
    for (const UtRulesAnswer::Rule& rule : UtRulesAnswer::parse(answer)) {
        rules.append({rule.key, rule.value});
        if (rule.key == adminNameRule)
            server.setServerAdmin(rule.value);
        else if (rule.key == adminEmailRule)
            server.setServerEmail(rule.value);
        else if (rule.key == serverVersionRule)
            server.setServerShortVersion(rule.value);
        else if (rule.key == gamePasswordRule)
            server.setServerPassActive(rule.value == passwordRequired ? QStringLiteral("1") : QStringLiteral("0"));
    }
    server.setServerRules(rules);
}

// Appends the answer's players, numbered from 0, by installing a new list.
void applyPlayers(CodServer& server, const QByteArray& answer)
{
    QList<CodPlayerPtr> players = server.serverPlayers();
    int number = 0;
    for (const UtPlayersAnswer::Player& each : UtPlayersAnswer::parse(answer)) {
        players.append(std::make_shared<const CodPlayer>(CodPlayer::Fields{
            .number = QString::number(number++),
            .name = each.name,
            .ping = QString::number(each.ping),
            .score = QString::number(each.score),
        }));
    }
    server.setServerPlayers(players);
}

}  // namespace

void CodServer::utServerRefresh()
{
    runAsOnlyRefresh([this] { queryUt2004(); });
}

void CodServer::queryUt2004()
{
    using namespace UtProtocol;
    // A probe reports its success through commError alone: start from failure, so
    // that what an earlier exchange left there is never taken for an answer.
    setCommError(Unreachable);
    for (const int portOffset : portOffsets) {
        sendUtCommandToServer(Probe, portOffset);
        if (commError() == Answered) {
            for (const int kind : {Information, Rules, Players})
                sendUtCommandToServer(kind, portOffset);
            return;
        }
    }
}

void CodServer::sendUtCommandToServer(int kind, int withPortAdd)
{
    using namespace UtProtocol;
    const std::optional<QByteArray> request = UtProtocol::request(kind);
    if (!request)
        return;
    const std::optional<Reply> reply = exchange(serverIp(), withPortAdd, *request);
    if (!reply) {
        setCommError(Unreachable);
        return;
    }
    // Silence changes nothing, whatever the kind; so does a probe answered wrongly.
    if (reply->answer.isEmpty())
        return;
    if (kind == Probe) {
        if (isAnswerTo(reply->answer, *request)) {
            setServerPing(QString::asprintf("Ping: %3.0f ms", reply->milliseconds));
            setCommError(Answered);
            setServerGameName(ut2004GameName);
        }
        return;
    }
    if (!isAnswerTo(reply->answer, *request)) {
        markFailed(*this);
        return;
    }
    if (kind == Information)
        applyInformation(*this, reply->answer);
    else if (kind == Rules)
        applyRules(*this, reply->answer);
    else
        applyPlayers(*this, reply->answer);
}
