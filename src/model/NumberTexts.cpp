#include "model/NumberTexts.h"

#include <array>

namespace {

constexpr int sharedCount = 1000;

const std::array<QString, sharedCount>& sharedTexts()
{
    static const std::array<QString, sharedCount> texts = [] {
        std::array<QString, sharedCount> made;
        for (int number = 0; number < sharedCount; ++number)
            made[size_t(number)] = QString::number(number);
        return made;
    }();
    return texts;
}

// The number the text writes in the plain way, below sharedCount; -1 otherwise.
int plainSmallNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 3 || (text.size() > 1 && text.front() == u'0'))
        return -1;
    int number = 0;
    for (const QChar digit : text) {
        if (digit < u'0' || digit > u'9')
            return -1;
        number = number * 10 + (digit.unicode() - u'0');
    }
    return number;
}

}  // namespace

QString NumberTexts::shared(const QString& text)
{
    const int number = plainSmallNumber(text);
    return number < 0 ? text : sharedTexts()[size_t(number)];
}
