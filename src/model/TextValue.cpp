#include "model/TextValue.h"

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

int integerValue(const QString& text)
{
    const qsizetype start = skipBlanks(text);
    qsizetype i = skipSign(text, start);
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

double realValue(const QString& text)
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
    return ok ? value : 0.0;
}

double doubleCommandLatency(const QString& setting)
{
    const double value = realValue(setting);
    return value > 10.0 ? value / 1000.0 : value;
}

}  // namespace TextValue
