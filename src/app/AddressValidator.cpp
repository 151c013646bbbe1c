#include "app/AddressValidator.h"

#include "net/ServerAddress.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr int addressBytes = 4;

}  // namespace

std::optional<QString> AddressValidator::problemWith(const QString& address)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon < 0)
        return QStringLiteral("No port specified");
    if (!ServerAddress::portOfDecimal(QStringView(address).mid(colon + 1)))
        return QStringLiteral("Bad argument in the port number");
    const QStringView host = QStringView(address).left(colon);
    // A name is looked up at each exchange with the server.
    if (ServerAddress::isHostName(host))
        return std::nullopt;
    const QList<QStringView> bytes = host.split(u'.');
    if (bytes.size() < addressBytes)
        return QStringLiteral("Missing argument(s) in the ip adress");
    if (!ServerAddress::ipOfDottedDecimal(host))
        return QStringLiteral("Bad argument(s) in the ip adress");
    return std::nullopt;
}
