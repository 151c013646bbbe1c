// The command line's address argument and the JSON and Prometheus texts it writes:
// no argument may crash the address reader, an address it takes has a host and a
// port, and any text the network sends comes out as valid UTF-8 in both formats.
#include "FuzzInput.h"

#include "cli/AddressArgument.h"
#include "cli/JsonObject.h"
#include "cli/MetricsText.h"

#include <QJsonDocument>

using FuzzInput::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput::checkAsLatin1AndUtf8(data, size, [](const QString& text) {
        for (const auto schemes : {AddressArgument::Schemes::Refused, AddressArgument::Schemes::Allowed}) {
            const auto parsed = AddressArgument::parse(text, schemes);
            if (const AddressArgument* address = std::get_if<AddressArgument>(&parsed))
                require(!address->host.isEmpty() && address->port != 0 && text.endsWith(QString::number(address->port)));
        }
        const QByteArray json = JsonObject().addText(QStringLiteral("name"), text).json();
        require(QUtf8StringView(json).isValidUtf8());
        require(QJsonDocument::fromJson(json).isObject());
        const QByteArray label = MetricsText::labelValue(text);
        require(QUtf8StringView(label).isValidUtf8() && !label.contains('\n'));
    });
    return 0;
}
