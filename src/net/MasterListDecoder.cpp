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

QString addressOfRecord(QByteArrayView record)
{
    const auto byte = [record](qsizetype index) { return static_cast<unsigned char>(record[index]); };
    const auto port = static_cast<unsigned short>(byte(5) << 8 | byte(6));
    return QString::asprintf("%u.%u.%u.%u:%hu;", byte(1), byte(2), byte(3), byte(4), port);
}

}  // namespace

MasterListDecoder::Decoded MasterListDecoder::decode(QByteArrayView datagram)
{
    Decoded decoded;
    decoded.isListAnswer = isListAnswer(datagram);
    if (!decoded.isListAnswer)
        return decoded;
    for (qsizetype at = datagram.indexOf(recordSeparator, 1); isRecordAt(datagram, at); at += recordLength)
        decoded.addresses += addressOfRecord(datagram.sliced(at, recordLength));
    return decoded;
}

QString MasterListDecoder::collect(const ReceiveNext& receiveNext)
{
    QString addresses;
    for (int count = 0; count < maximumDatagrams; ++count) {
        const QByteArray datagram = receiveNext();
        if (datagram.isEmpty())
            break;
        const Decoded decoded = decode(datagram);
        if (!decoded.isListAnswer)
            break;
        addresses += decoded.addresses;
    }
    return addresses;
}
