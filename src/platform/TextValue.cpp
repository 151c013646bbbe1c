#include "platform/TextValue.h"

#include <limits>

namespace TextValue {

namespace {

qsizetype skipBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

qsizetype skipSign(const QString& text, qsizetype i)
{
    return (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) ? i + 1 : i;
}

bool isDigitAt(const QString& text, qsizetype i)
{
    return i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9';
}

}  // namespace

std::optional<int> leadingInteger(const QString& text)
{
    const qsizetype start = skipBlanks(text);
    qsizetype i = skipSign(text, start);
    if (!isDigitAt(text, i))
        return std::nullopt;
    const bool negative = i > start && text.at(start) == u'-';
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    long long magnitude = 0;
    for (; isDigitAt(text, i); ++i) {
        magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
        if (magnitude > limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int integerValue(const QString& text)
{
    return leadingInteger(text).value_or(0);
}

std::optional<double> leadingReal(const QString& text)
{
    const qsizetype start = skipBlanks(text);
    qsizetype end = skipSign(text, start);
    while (isDigitAt(text, end))
        ++end;
    if (end < text.size() && text.at(end) == u'.') {
        ++end;
        while (isDigitAt(text, end))
            ++end;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

double realValue(const QString& text)
{
    return leadingReal(text).value_or(0.0);
}

double doubleCommandLatency(const QString& setting)
{
    const double value = realValue(setting);
    return value > 10.0 ? value / 1000.0 : value;
}

}  // namespace TextValue
