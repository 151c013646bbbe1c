#include "net/UtAnswerReader.h"

#include <QtEndian>

UtAnswerReader::UtAnswerReader(QByteArrayView answer, qsizetype offset)
    : bytes(answer)
    , position(offset)
{
}

bool UtAnswerReader::holds(qsizetype count) const
{
    return position >= 0 && count <= bytes.size() - position;
}

bool UtAnswerReader::atEnd() const
{
    return !holds(1);
}

std::optional<QString> UtAnswerReader::readString()
{
    if (atEnd())
        return std::nullopt;
    const auto length = static_cast<qsizetype>(static_cast<qint8>(bytes[position]));
    if (length < 0 || !holds(1 + length))
        return std::nullopt;
    QByteArrayView content = bytes.sliced(position + 1, length);
    if (const qsizetype zero = content.indexOf('\0'); zero >= 0)
        content = content.first(zero);
    position += 1 + length;
    return QString::fromLatin1(content);
}

std::optional<qint32> UtAnswerReader::readInt32()
{
    if (!holds(4))
        return std::nullopt;
    const qint32 value = qFromLittleEndian<qint32>(bytes.data() + position);
    position += 4;
    return value;
}

void UtAnswerReader::skip(qsizetype count)
{
    position += count;
}
