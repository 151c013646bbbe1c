#include "app/AddressValidator.h"

#include "net/ServerAddress.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr int highestPort = 65535;
constexpr int addressBytes = 4;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The value of a text made of decimal digits alone (leading zeros allowed), or
// nothing when the text is empty, holds anything else or goes beyond the highest.
std::optional<int> decimalNumber(QStringView text, int highest)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar digit : text) {
        if (!isAsciiDigit(digit))
            return std::nullopt;
        value = value * 10 + (digit.unicode() - u'0');
        if (value > highest)
            return std::nullopt;
    }
    return value;
}

bool isPort(QStringView text)
{
    return decimalNumber(text, highestPort).value_or(0) >= 1;
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
    if (!isPort(QStringView(address).mid(colon + 1)))
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
