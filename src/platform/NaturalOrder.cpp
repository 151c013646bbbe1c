#include "platform/NaturalOrder.h"

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of digits at the start of the text, without its leading zeros.
QStringView digitRun(QStringView text, qsizetype& length)
{
    length = 0;
    while (length < text.size() && isDigit(text[length]))
        ++length;
    qsizetype zeros = 0;
    while (zeros + 1 < length && text[zeros] == u'0')
        ++zeros;
    return text.mid(zeros, length - zeros);
}

}  // namespace

// Each run of digits becomes '0' (a digit, so that it compares with other characters
// as the run's first digit does), the length of its value without leading zeros as
// one character, and those digits: runs of one length then compare digit by digit,
// and a longer value is the larger.
QString NaturalOrder::sortKey(QStringView text)
{
    QString key;
    key.reserve(text.size() + 4);
    while (!text.isEmpty()) {
        if (!isDigit(text.front())) {
            key.append(text.front());
            text = text.mid(1);
            continue;
        }
        qsizetype length = 0;
        const QStringView value = digitRun(text, length);
        key.append(u'0');
        key.append(QChar(char16_t(std::min<qsizetype>(value.size(), 0xFFFF))));
        key.append(value);
        text = text.mid(length);
    }
    return key;
}
