#include "net/ConsoleReply.h"

#include "model/CodServer.h"
#include "net/QuakeProtocol.h"

namespace {

// The tag of a console reply: Quake 3 engines print "print" and a line end, DarkPlaces
// engines an "n" alone, and colour their output in their own dialect.
struct ReplyTag {
    QString text;
    GameDescription::ColourDialect dialect;
};
const ReplyTag replyTags[] = {
    {QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "print\n"),
     GameDescription::ColourDialect::CaretDigit},
    {QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "n"), GameDescription::ColourDialect::DarkPlaces},
};
// What a server prints, and nothing else, when the rcon password of a request is wrong.
const QString passwordRefusal = QStringLiteral("Bad rconpassword.");

QString withoutClosingLineEnds(QString text)
{
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

const ReplyTag* tagOf(const QString& answer)
{
    for (const ReplyTag& tag : replyTags) {
        if (answer.startsWith(tag.text))
            return &tag;
    }
    return nullptr;
}

}  // namespace

std::optional<QString> ConsoleReply::outputOf(const QString& answer)
{
    const ReplyTag* tag = tagOf(answer);
    if (tag == nullptr)
        return std::nullopt;
    return withoutClosingLineEnds(CodServer::clearColoredName(answer.mid(tag->text.size()), tag->dialect));
}

bool ConsoleReply::refusesPassword(const QString& answer)
{
    const ReplyTag* tag = tagOf(answer);
    return tag != nullptr && withoutClosingLineEnds(answer.mid(tag->text.size())) == passwordRefusal;
}
