#include "net/ServerAddress.h"

#include <algorithm>

#include <arpa/inet.h>

namespace {

// Multicast (224.0.0.0/4) and everything above it.
constexpr quint32 firstMulticastByte = 224;
constexpr qsizetype addressBytes = 4;
constexpr quint32 highestAddressByte = 255;
constexpr quint32 highestPort = 65535;

// A text of decimal digits alone, leading zeros allowed, up to the highest.
std::optional<quint32> decimalNumber(QStringView text, quint32 highest)
{
    if (text.isEmpty())
        return std::nullopt;
    quint32 value = 0;
    for (const QChar digit : text) {
        if (digit < u'0' || digit > u'9')
            return std::nullopt;
        value = value * 10 + (digit.unicode() - u'0');
        if (value > highest)
            return std::nullopt;
    }
    return value;
}

}  // namespace

QString ServerAddress::text() const
{
    return QString::asprintf("%u.%u.%u.%u:%hu", ip >> 24, (ip >> 16) & 0xFF, (ip >> 8) & 0xFF, ip & 0xFF, port);
}

bool ServerAddress::canBeServer() const
{
    const quint32 firstByte = ip >> 24;
    return firstByte != 0 && firstByte < firstMulticastByte && port != 0;
}

sockaddr_in ServerAddress::socketAddress() const
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(port);
    return address;
}

ServerAddress ServerAddress::of(const sockaddr_in& address)
{
    return {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

std::optional<quint32> ServerAddress::ipOfDottedDecimal(QStringView host)
{
    const QList<QStringView> bytes = host.split(u'.');
    if (bytes.size() != addressBytes)
        return std::nullopt;
    quint32 ip = 0;
    for (const QStringView text : bytes) {
        const std::optional<quint32> byte = decimalNumber(text, highestAddressByte);
        if (!byte)
            return std::nullopt;
        ip = ip << 8 | *byte;
    }
    return ip;
}

bool ServerAddress::isHostName(QStringView host)
{
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    const auto isLabelCharacter = [&isLetter](QChar c) { return isLetter(c) || (c >= u'0' && c <= u'9') || c == u'-'; };
    const auto isLabel = [&isLabelCharacter](QStringView label) {
        return !label.isEmpty() && !label.startsWith(u'-') && !label.endsWith(u'-')
            && std::all_of(label.begin(), label.end(), isLabelCharacter);
    };
    const QList<QStringView> labels = host.split(u'.');
    return std::all_of(labels.cbegin(), labels.cend(), isLabel) && std::any_of(host.begin(), host.end(), isLetter);
}

std::optional<quint16> ServerAddress::portOfDecimal(QStringView text)
{
    const std::optional<quint32> port = decimalNumber(text, highestPort);
    if (!port || *port == 0)
        return std::nullopt;
    return static_cast<quint16>(*port);
}
