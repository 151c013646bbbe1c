#include "platform/NaturalOrder.h"

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

// Two runs of digits by value: the longer run is the larger, runs of one length
// compare digit by digit. Works for numbers of any length.
int compareNumbers(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

}  // namespace

bool NaturalOrder::isLess(QStringView a, QStringView b)
{
    while (!a.isEmpty() && !b.isEmpty()) {
        if (isDigit(a.front()) && isDigit(b.front())) {
            qsizetype lengthA = 0;
            qsizetype lengthB = 0;
            const int numbers = compareNumbers(digitRun(a, lengthA), digitRun(b, lengthB));
            if (numbers != 0)
                return numbers < 0;
            a = a.mid(lengthA);
            b = b.mid(lengthB);
            continue;
        }
        if (a.front() != b.front())
            return a.front() < b.front();
        a = a.mid(1);
        b = b.mid(1);
    }
    return a.size() < b.size();
}
