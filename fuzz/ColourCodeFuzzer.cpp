// Host and player names lose their colour codes through CodServer::clearColoredName:
// no input may crash it; it only ever removes caret-and-digit pairs and, in the
// DarkPlaces dialect, caret-x-and-three-hex-digit codes too.
#include "FuzzInput.h"

#include "model/CodServer.h"

namespace {

using FuzzInput::require;

bool holdsColourCode(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'^' && text.at(i + 1) >= u'0' && text.at(i + 1) <= u'9')
            return true;
    }
    return false;
}

// True when every character of `part` appears in `whole` in the same order.
bool isSubsequence(const QString& part, const QString& whole)
{
    qsizetype at = 0;
    for (const QChar c : whole) {
        if (at < part.size() && part.at(at) == c)
            ++at;
    }
    return at == part.size();
}

void checkDarkPlaces(const QString& name)
{
    const QString cleared = CodServer::clearColoredName(name, GameDescription::ColourDialect::DarkPlaces);
    require(cleared.size() <= name.size());
    require(isSubsequence(cleared, name));
    require(cleared.size() <= CodServer::clearColoredName(name).size());
    if (!name.contains(u'^'))
        require(cleared == name);
}

void check(const QString& name)
{
    checkDarkPlaces(name);
    const QString cleared = CodServer::clearColoredName(name);
    require(cleared.size() <= name.size());
    require((name.size() - cleared.size()) % 2 == 0);
    require(isSubsequence(cleared, name));
    // A code can only be left where a kept caret was followed by another caret.
    if (!name.contains(QStringLiteral("^^")))
        require(!holdsColourCode(cleared));
    if (!name.contains(u'^'))
        require(cleared == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput::checkAsLatin1AndUtf8(data, size, check);
    return 0;
}
