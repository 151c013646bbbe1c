#include "net/ConsoleReply.h"

#include "model/CodServer.h"
#include "net/QuakeProtocol.h"

namespace {

const QString printTag = QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "print\n");
// What a server prints, and nothing else, when the rcon password of a request is wrong.
const QString passwordRefusal = QStringLiteral("Bad rconpassword.");

QString withoutClosingLineEnds(QString text)
{
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

}  // namespace

std::optional<QString> ConsoleReply::outputOf(const QString& answer)
{
    if (!answer.startsWith(printTag))
        return std::nullopt;
    return withoutClosingLineEnds(CodServer::clearColoredName(answer.mid(printTag.size())));
}

bool ConsoleReply::refusesPassword(const QString& answer)
{
    return answer.startsWith(printTag) && withoutClosingLineEnds(answer.mid(printTag.size())) == passwordRefusal;
}
