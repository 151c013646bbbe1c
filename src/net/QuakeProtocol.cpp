#include "net/QuakeProtocol.h"

namespace QuakeProtocol {

namespace {

// Requests are formatted into a fixed buffer: at most its size less one byte is sent.
constexpr qsizetype largestRequestBytes = static_cast<qsizetype>(requestBufferBytes) - 1;

QByteArray fittedRequest(const QByteArray& text)
{
    return text.left(largestRequestBytes);
}

QByteArray wholeRconRequest(const QString& password, const QString& command)
{
    return connectionlessHeader + "rcon " + password.toLatin1() + ' ' + command.toLatin1();
}

}  // namespace

QString masterProtocolKey(int type)
{
    switch (type) {
    case CodMasterList: return QStringLiteral("CoD Master Server Protocol");
    case UOMasterList: return QStringLiteral("UO Master Server Protocol");
    case Cod2MasterList: return QStringLiteral("CoD2 Master Server Protocol");
    case Cod4MasterList: return QStringLiteral("CoD4 Master Server Protocol");
    default: return {};
    }
}

QString textOfDatagram(const QByteArray& datagram)
{
    return QString::fromLatin1(datagram);
}

QByteArray statusRequest()
{
    return connectionlessHeader + QByteArrayLiteral("getstatus");
}

QByteArray rconRequest(const QString& password, const QString& command)
{
    return fittedRequest(wholeRconRequest(password, command));
}

bool rconRequestIsCut(const QString& password, const QString& command)
{
    return wholeRconRequest(password, command).size() > largestRequestBytes;
}

QByteArray masterRequest(int protocol)
{
    return fittedRequest(connectionlessHeader + "getservers " + QByteArray::number(protocol) + " empty full");
}

}  // namespace QuakeProtocol
