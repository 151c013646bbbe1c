#include "app/AddressValidator.h"

#include "model/TextValue.h"

#include <QStringList>

namespace {

constexpr int highestPort = 65535;
constexpr int highestAddressByte = 255;
constexpr int addressBytes = 4;

bool isAddressByte(const QString& piece)
{
    const int value = TextValue::integerValue(piece);
    return value >= 0 && value <= highestAddressByte;
}

}  // namespace

std::optional<QString> AddressValidator::problemWith(const QString& address)
{
    const QStringList hostAndPort = address.split(u':');
    if (hostAndPort.size() < 2)
        return QStringLiteral("No port specified");
    const int port = TextValue::integerValue(hostAndPort.at(1));
    if (port < 1 || port > highestPort)
        return QStringLiteral("Bad argument in the port number");
    const QStringList bytes = hostAndPort.at(0).split(u'.');
    if (bytes.size() < addressBytes)
        return QStringLiteral("Missing argument(s) in the ip adress");
    if (!std::all_of(bytes.cbegin(), bytes.cbegin() + addressBytes, isAddressByte))
        return QStringLiteral("Bad argument(s) in the ip adress");
    return std::nullopt;
}
