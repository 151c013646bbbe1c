#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Reads the fields of a UT2004 query answer one after the other, never beyond the
// bytes received: a field that runs past the end is not read at all.
class UtAnswerReader {
public:
    // Starts reading at the given offset of the answer. The answer must outlive the reader.
    UtAnswerReader(QByteArrayView answer, qsizetype offset);

    // A string: one length byte that counts the bytes that follow it, terminating zero
    // included, then those bytes, read as text up to their first zero. The length
    // byte is signed: 80 hexadecimal or more reads nothing.
    std::optional<QString> readString();
    // A 32-bit little-endian signed integer.
    std::optional<qint32> readInt32();
    // Passes over bytes that are not read.
    void skip(qsizetype count);

    // True when no byte is left at the reading position.
    bool atEnd() const;

private:
    bool holds(qsizetype count) const;

    QByteArrayView bytes;
    qsizetype position;
};
