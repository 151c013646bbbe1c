#include "net/AnswerAssembly.h"

#include "net/QuakeProtocol.h"

namespace {

const QString filesListed = QStringLiteral("files listed");
const QString listingRule = QStringLiteral("---------------");
const QString tableStart = QStringLiteral("map:");
const QString tableEnd = QStringLiteral("\n\n");

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
    QString answer = first;
    if (!isCompleteConsoleStatus(answer)) {
        const QString second = receiveNext();
        if (!second.isEmpty())
            answer = joinConsoleStatus(first, second, receiveNext);
    }
    return {answer, isCompleteConsoleStatus(answer)};
}

QString AnswerAssembly::joinConsoleStatus(const QString& first, const QString& second,
                                          const ReceiveNext& receiveNext)
{
    const bool firstHoldsTableStart = first.contains(tableStart);
    if (firstHoldsTableStart || second.contains(tableStart)) {
        const QString& head = firstHoldsTableStart ? first : second;
        const QString& tail = firstHoldsTableStart ? second : first;
        QString joined = head + withoutHeader(tail);
        if (!joined.contains(tableEnd)) {
            const QString third = receiveNext();
            if (!third.isEmpty())
                joined += withoutHeader(third);
        }
        return joined;
    }
    // Neither holds the table's first line: the third datagram is taken to carry it.
    const QString joined = first.contains(tableEnd) ? second + withoutHeader(first) : first + withoutHeader(second);
    const QString third = receiveNext();
    return third.isEmpty() ? joined : third + withoutHeader(joined);
}
