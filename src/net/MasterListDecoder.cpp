#include "net/MasterListDecoder.h"

namespace {

const QByteArrayView listAnswerTag = "getserversResponse";
const QByteArrayView endOfTransmission = "\\EOT";
const QByteArrayView endOfFile = "\\EOF";
constexpr char recordSeparator = '\\';
// The separator, four address bytes, two port bytes.
constexpr qsizetype recordLength = 7;

bool isListAnswer(QByteArrayView datagram)
{
    const qsizetype zero = datagram.indexOf('\0');
    return (zero < 0 ? datagram : datagram.first(zero)).contains(listAnswerTag);
}

bool isRecordAt(QByteArrayView datagram, qsizetype at)
{
    if (at < 0 || recordLength > datagram.size() - at || datagram[at] != recordSeparator)
        return false;
    const QByteArrayView rest = datagram.sliced(at);
    return !rest.startsWith(endOfTransmission) && !rest.startsWith(endOfFile);
}

ServerAddress addressOfRecord(QByteArrayView record)
{
    const auto byte = [record](qsizetype index) { return quint32{static_cast<unsigned char>(record[index])}; };
    return {byte(1) << 24 | byte(2) << 16 | byte(3) << 8 | byte(4), static_cast<quint16>(byte(5) << 8 | byte(6))};
}

}  // namespace

MasterListDecoder::Decoded MasterListDecoder::decode(QByteArrayView datagram)
{
    Decoded decoded;
    decoded.isListAnswer = isListAnswer(datagram);
    if (!decoded.isListAnswer)
        return decoded;
    for (qsizetype at = datagram.indexOf(recordSeparator, 1); isRecordAt(datagram, at); at += recordLength)
        decoded.servers.append(addressOfRecord(datagram.sliced(at, recordLength)));
    return decoded;
}
