// The datagram exchange of a server record with its game server or master.
#include "model/CodServer.h"

#include "net/AnswerAssembly.h"
#include "net/ConsoleReply.h"
#include "net/DatagramSocket.h"
#include "net/ProtocolLog.h"
#include "net/QuakeProtocol.h"
#include "platform/Alerts.h"
#include "platform/Preferences.h"
#include "platform/TextValue.h"

#include <QDebug>

namespace {

const QString badCommandCode = QStringLiteral("Error in the refresh command code :P");
const QString noSocket = QStringLiteral("Error: Unable to create socket");
const QString noTimeout = QStringLiteral("Error: Unable to define timeout");
const QString noConnection = QStringLiteral("Error: Unable to connect the socket");
const QString noSend = QStringLiteral("Error: Unable to send command to server");
const QString noAnswer = QStringLiteral("Error: Unable to receive server response");

std::optional<QByteArray> requestFor(const QString& command, int type, const QString& password)
{
    using namespace QuakeProtocol;
    if (type == StatusQuery)
        return statusRequest();
    if (type == RconCommand)
        return rconRequest(password, command);
    if (type == RconStatus)
        return rconRequest(password, QStringLiteral("status"));
    return std::nullopt;
}

QString receiveText(DatagramSocket& socket)
{
    return QuakeProtocol::textOfDatagram(socket.receive(QuakeProtocol::receiveBufferBytes));
}

}  // namespace

QString CodServer::sendCommandToServer(const QString& command, int ofType)
{
    using namespace QuakeProtocol;
    setCommError(Answered);
    const std::optional<QByteArray> request = requestFor(command, ofType, serverPass());
    if (!request) {
        qCInfo(protocolLog).noquote() << badCommandCode;
        return badCommandCode;
    }

    const auto fail = [this](int error, const QString& text) {
        setCommError(error);
        return text;
    };
    const int timeout = Preferences::standard().integerForKey(QStringLiteral("Timeout"));
    DatagramSocket socket;
    if (!socket.isOpen())
        return fail(Unreachable, noSocket);
    if (!socket.setReceiveTimeout(timeout))
        return fail(Unreachable, noTimeout);
    const QString address = serverIp();
    const bool connected = socket.connectTo(address);
    const QString reached = socket.connectedAddress();
    setServerResolvedIp(connected && reached != address ? reached : QString());
    if (!connected)
        return fail(Unreachable, noConnection);
    if (!socket.send(*request))
        return fail(Unreachable, noSend);

    const QString first = receiveText(socket);
    // A DarkPlaces server's empty console reply is shorter than any other answer.
    if (first.size() < answerHeaderLength && !ConsoleReply::outputOf(first)) {
        if (ofType == RconCommand)
            return command.contains(QStringLiteral("map")) ? noAnswer : fail(RconFailed, noAnswer);
        return fail(Unreachable, noAnswer);
    }

    QString answer = first;
    const auto receiveNext = [&socket] { return receiveText(socket); };
    if (command.contains(QStringLiteral("fdir"))) {
        const AnswerAssembly::Result listing = AnswerAssembly::assembleListing(first, receiveNext);
        answer = listing.answer;
        if (!listing.complete)
            setCommError(RconFailed);
    } else if (ofType == RconStatus) {
        const AnswerAssembly::Result status = AnswerAssembly::assembleConsoleStatus(first, receiveNext);
        answer = status.answer;
        if (status.complete) {
            qCInfo(protocolLog).noquote() << "map: and 2 returns in the response";
        } else {
            setCommError(RconFailed);
            qCInfo(protocolLog).noquote() << "4 packets in the status response";
        }
    }

    // Only a console request is refused for its password; a status answer may carry
    // the refusal's words in a player's name.
    const bool consoleRequest = ofType == RconCommand || ofType == RconStatus;
    if (consoleRequest && ConsoleReply::refusesPassword(answer) && countBadRconAnswer())
        Alerts::current().notify(QStringLiteral("Wrong Rcon Password"), QStringLiteral("Actual password has been deleted"),
                                 QStringLiteral("OK"));
    return answer;
}
