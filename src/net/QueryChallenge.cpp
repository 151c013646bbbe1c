#include "net/QueryChallenge.h"

#include "net/QuakeProtocol.h"

#include <limits>

namespace {

constexpr QByteArrayView challengeKey = "challenge";
// A challenge is a decimal number below 2^64.
constexpr qsizetype longestChallenge = 20;

// The status line: the key/value pairs between the answer's first and second line
// ends.
QByteArrayView statusLineOf(QByteArrayView datagram)
{
    const qsizetype firstEnd = datagram.indexOf('\n');
    if (firstEnd < 0)
        return {};
    const QByteArrayView rest = datagram.sliced(firstEnd + 1);
    const qsizetype secondEnd = rest.indexOf('\n');
    return secondEnd < 0 ? rest : rest.first(secondEnd);
}

std::optional<quint64> decimalOf(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > longestChallenge)
        return std::nullopt;
    quint64 value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        const auto next = static_cast<quint64>(digit - '0');
        if (value > (std::numeric_limits<quint64>::max() - next) / 10)
            return std::nullopt;
        value = value * 10 + next;
    }
    return value;
}

}  // namespace

QueryChallenge::QueryChallenge(quint32 secret, int triesPerEntry)
    : secret(secret)
    , triesPerEntry(triesPerEntry)
{
}

QByteArray QueryChallenge::query(std::size_t entry, int attempt) const
{
    const quint64 challenge = secret + entry * static_cast<quint64>(triesPerEntry) + static_cast<quint64>(attempt);
    return QuakeProtocol::statusRequest() + ' ' + QByteArray::number(challenge);
}

std::optional<QueryChallenge::Named> QueryChallenge::named(QByteArrayView echoed) const
{
    const std::optional<quint64> challenge = decimalOf(echoed);
    if (!challenge || *challenge < secret)
        return std::nullopt;
    const quint64 place = *challenge - secret;
    return Named{static_cast<std::size_t>(place / static_cast<quint64>(triesPerEntry)),
                 static_cast<int>(place % static_cast<quint64>(triesPerEntry))};
}

// The status line is "\key\value\key\value...": the value after the key
// "challenge", when a key is that.
std::optional<QByteArrayView> QueryChallenge::echoedIn(QByteArrayView datagram)
{
    QByteArrayView line = statusLineOf(datagram);
    while (line.startsWith('\\')) {
        line = line.sliced(1);
        const qsizetype keyEnd = line.indexOf('\\');
        if (keyEnd < 0)
            return std::nullopt;
        const QByteArrayView key = line.first(keyEnd);
        line = line.sliced(keyEnd + 1);
        const qsizetype valueEnd = line.indexOf('\\');
        const QByteArrayView value = valueEnd < 0 ? line : line.first(valueEnd);
        if (key == challengeKey)
            return value;
        line = line.sliced(value.size());
    }
    return std::nullopt;
}
