#include "admin/ConsoleArgument.h"

#include <algorithm>

namespace {

bool endsCommandOrQuote(QChar c)
{
    return c == u';' || c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7f;
}

}  // namespace

bool ConsoleArgument::readsAsOneWord(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' ' || endsCommandOrQuote(c); });
}

bool ConsoleArgument::readsWithinQuotes(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), endsCommandOrQuote);
}
