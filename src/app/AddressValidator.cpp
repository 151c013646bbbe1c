#include "app/AddressValidator.h"

#include "net/ServerAddress.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr int addressBytes = 4;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Letters, digits, dots and hyphens with a letter among them: a name to look up,
// which the transport does not do.
bool isHostName(QStringView host)
{
    const auto isNameCharacter = [](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == u'.' || c == u'-'; };
    return std::all_of(host.begin(), host.end(), isNameCharacter)
        && std::any_of(host.begin(), host.end(), isAsciiLetter);
}

}  // namespace

std::optional<QString> AddressValidator::problemWith(const QString& address)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon < 0)
        return QStringLiteral("No port specified");
    if (!ServerAddress::portOfDecimal(QStringView(address).mid(colon + 1)))
        return QStringLiteral("Bad argument in the port number");
    const QStringView host = QStringView(address).left(colon);
    if (isHostName(host))
        return QStringLiteral("Host names are not supported: use the ip address");
    const QList<QStringView> bytes = host.split(u'.');
    if (bytes.size() < addressBytes)
        return QStringLiteral("Missing argument(s) in the ip adress");
    if (!ServerAddress::ipOfDottedDecimal(host))
        return QStringLiteral("Bad argument(s) in the ip adress");
    return std::nullopt;
}
