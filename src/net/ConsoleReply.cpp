#include "net/ConsoleReply.h"

#include "model/CodServer.h"
#include "net/QuakeProtocol.h"

namespace {

const QString printTag = QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "print\n");

}  // namespace

std::optional<QString> ConsoleReply::outputOf(const QString& answer)
{
    if (!answer.startsWith(printTag))
        return std::nullopt;
    QString output = CodServer::clearColoredName(answer.mid(printTag.size()));
    while (output.endsWith(u'\n'))
        output.chop(1);
    return output;
}
