// Every address typed, pasted or dropped from another program goes through
// AddressValidator before it becomes a favourite: no input may crash it, and an
// address it accepts is four numbers from 0 to 255 or a host name, a colon and a
// port, nothing else.
#include "FuzzInput.h"

#include "app/AddressValidator.h"

#include <QRegularExpression>

namespace {

using FuzzInput::require;

void check(const QString& text)
{
    if (!AddressValidator::isValid(text))
        return;
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9.-]+:([0-9]+)$"));
    static const QRegularExpression address(QStringLiteral("^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+):([0-9]+)$"));
    const QRegularExpressionMatch parts = address.match(text);
    if (!parts.hasMatch()) {
        const QRegularExpressionMatch named = hostName.match(text);
        require(named.hasMatch());
        const unsigned long long port = named.captured(1).toULongLong();
        require(port >= 1 && port <= 65535);
        return;
    }
    const auto number = [&parts](int part) {
        bool isNumber = false;
        const unsigned long long value = parts.captured(part).toULongLong(&isNumber);
        require(isNumber);
        return value;
    };
    for (int byte = 1; byte <= 4; ++byte)
        require(number(byte) <= 255);
    require(number(5) >= 1 && number(5) <= 65535);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput::checkAsLatin1AndUtf8(data, size, check);
    return 0;
}
