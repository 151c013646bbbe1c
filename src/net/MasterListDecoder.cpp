#include "net/MasterListDecoder.h"

namespace {

const QByteArrayView listAnswerTag = "getserversResponse";
const QByteArrayView endOfTransmission = "\\EOT";
const QByteArrayView endOfFile = "\\EOF";
constexpr char recordSeparator = '\\';
// The separator, then after the prefix four address bytes and two port bytes.
constexpr qsizetype addressAndPortLength = 6;

bool isListAnswer(QByteArrayView datagram)
{
    const qsizetype zero = datagram.indexOf('\0');
    return (zero < 0 ? datagram : datagram.first(zero)).contains(listAnswerTag);
}

MasterListDecoder::Ending markerAt(QByteArrayView rest)
{
    if (rest.startsWith(endOfFile))
        return MasterListDecoder::Ending::List;
    if (!rest.startsWith(endOfTransmission))
        return MasterListDecoder::Ending::None;
    const bool zeroFollows = rest.size() > endOfTransmission.size() && rest[endOfTransmission.size()] == '\0';
    return zeroFollows ? MasterListDecoder::Ending::List : MasterListDecoder::Ending::Datagram;
}

}  // namespace

MasterListDecoder::Decoded MasterListDecoder::decode(QByteArrayView datagram, QByteArrayView entryPrefix)
{
    Decoded decoded;
    decoded.isListAnswer = isListAnswer(datagram);
    if (!decoded.isListAnswer)
        return decoded;
    const qsizetype entryLength = 1 + entryPrefix.size() + addressAndPortLength;
    qsizetype at = datagram.indexOf(recordSeparator, 1);
    while (at >= 0 && at < datagram.size()) {
        const QByteArrayView rest = datagram.sliced(at);
        decoded.ending = markerAt(rest);
        if (decoded.ending != Ending::None || rest.size() < entryLength || rest[0] != recordSeparator
            || !rest.sliced(1).startsWith(entryPrefix))
            break;
        decoded.servers.append(addressAtEnd(rest.first(entryLength)));
        at += entryLength;
    }
    return decoded;
}

ServerAddress MasterListDecoder::addressAtEnd(QByteArrayView entry)
{
    const QByteArrayView bytes = entry.last(addressAndPortLength);
    const auto byte = [bytes](qsizetype index) { return quint32{static_cast<unsigned char>(bytes[index])}; };
    return {byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3), static_cast<quint16>(byte(4) << 8 | byte(5))};
}
