#include "net/AnswerAssembly.h"

#include "net/QuakeProtocol.h"

#include <algorithm>

namespace {

const QString filesListed = QStringLiteral("files listed");
const QString listingRule = QStringLiteral("---------------");
const QString tableStart = QStringLiteral("map:");
const QString tableEnd = QStringLiteral("\n\n");
// A console status table spans at most this many datagrams.
constexpr qsizetype consoleStatusDatagrams = 3;

}  // namespace

QString AnswerAssembly::withoutHeader(const QString& datagram)
{
    return datagram.mid(QuakeProtocol::answerHeaderLength);
}

bool AnswerAssembly::isCompleteListing(const QString& answer)
{
    return answer.contains(filesListed) && answer.contains(listingRule);
}

bool AnswerAssembly::isCompleteConsoleStatus(const QString& answer)
{
    return answer.contains(tableStart) && answer.contains(tableEnd);
}

AnswerAssembly::Result AnswerAssembly::assembleListing(const QString& first, const ReceiveNext& receiveNext)
{
    QString answer = first;
    if (!isCompleteListing(answer)) {
        const QString second = receiveNext();
        if (!second.isEmpty()) {
            answer = first.contains(filesListed) ? withoutHeader(second) + withoutHeader(first)
                                                 : withoutHeader(first) + withoutHeader(second);
        }
    }
    return {answer, isCompleteListing(answer)};
}

AnswerAssembly::Result AnswerAssembly::assembleConsoleStatus(const QString& first, const ReceiveNext& receiveNext)
{
    if (isCompleteConsoleStatus(first))
        return {first, true};
    // A listing that begins and ends in the first two datagrams may still have its
    // middle on the way: the datagrams can arrive in any order, so the third is always
    // waited for.
    QStringList datagrams{first};
    while (datagrams.size() < consoleStatusDatagrams) {
        const QString next = receiveNext();
        if (next.isEmpty())
            break;
        datagrams.append(next);
    }
    const QString answer = joinConsoleStatus(datagrams);
    return {answer, isCompleteConsoleStatus(answer)};
}

// The datagram with the table's first line goes first and the one with the empty
// line that ends it goes last; any other lies between them, in the order it came.
QString AnswerAssembly::joinConsoleStatus(QStringList datagrams)
{
    const auto placeInTable = [](const QString& datagram) {
        if (datagram.contains(tableStart))
            return 0;
        return withoutHeader(datagram).contains(tableEnd) ? 2 : 1;
    };
    std::stable_sort(datagrams.begin(), datagrams.end(), [&](const QString& a, const QString& b) {
        return placeInTable(a) < placeInTable(b);
    });
    QString joined = datagrams.takeFirst();
    for (const QString& datagram : std::as_const(datagrams))
        joined += withoutHeader(datagram);
    return joined;
}
