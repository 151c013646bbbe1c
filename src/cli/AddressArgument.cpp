#include "cli/AddressArgument.h"

#include "app/MasterScan.h"

#include <algorithm>

namespace {

// Longest host name the name system allows.
constexpr qsizetype longestHostName = 253;

const QString udpScheme = QStringLiteral("udp://");
const QString tcpScheme = QStringLiteral("tcp://");

bool isHostNameCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
        || c == u'.' || c == u'_';
}

// A name of letters, digits, hyphens, underscores and dots; one of digits and dots
// alone is meant as a dotted address and must be one.
std::optional<QString> hostProblem(const QString& host, bool dotted)
{
    if (host.isEmpty())
        return QStringLiteral("no host before the port");
    if (dotted)
        return std::nullopt;
    if (host.size() > longestHostName || !std::all_of(host.cbegin(), host.cend(), isHostNameCharacter))
        return QStringLiteral("\"%1\" is no IPv4 address or host name").arg(host);
    const bool numeric = std::all_of(host.cbegin(), host.cend(), [](QChar c) { return c == u'.' || c.isDigit(); });
    if (numeric)
        return QStringLiteral("\"%1\" is no IPv4 address").arg(host);
    return std::nullopt;
}

}  // namespace

std::variant<AddressArgument, QString> AddressArgument::parse(const QString& text, Schemes schemes)
{
    AddressArgument address;
    QString rest = text;
    if (schemes == Schemes::Allowed && rest.startsWith(tcpScheme, Qt::CaseInsensitive)) {
        address.transport = Transport::Tcp;
        rest = rest.mid(tcpScheme.size());
    } else if (schemes == Schemes::Allowed && rest.startsWith(udpScheme, Qt::CaseInsensitive)) {
        rest = rest.mid(udpScheme.size());
    }
    const qsizetype colon = rest.lastIndexOf(u':');
    if (colon < 0)
        return QStringLiteral("\"%1\" has no port: write HOST:PORT").arg(text);
    address.host = rest.left(colon);
    address.dotted = ServerAddress::ipOfDottedDecimal(address.host).has_value();
    if (const std::optional<QString> problem = hostProblem(address.host, address.dotted))
        return *problem;
    const std::optional<quint16> port = ServerAddress::portOfDecimal(QStringView(rest).mid(colon + 1));
    if (!port)
        return QStringLiteral("the port of \"%1\" is not a number from 1 to 65535").arg(text);
    address.port = *port;
    return address;
}

std::optional<ServerAddress> AddressArgument::resolve() const
{
    const std::optional<quint32> ip =
        ServerAddress::ipOfDottedDecimal(dotted ? host : MasterScan::getIpFromString(host));
    if (!ip)
        return std::nullopt;
    return ServerAddress{*ip, port};
}
