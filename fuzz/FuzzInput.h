#pragma once

// What the fuzz targets share: the input as the wire gives it, and the check that
// stops a run when a property fails.
#include "net/QuakeProtocol.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace FuzzInput {

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input as the transport turns a received datagram into text.
inline QString answerOf(const uint8_t* data, size_t size)
{
    return QuakeProtocol::textOfDatagram(bytesOf(data, size));
}

// Runs the check on the input read as Latin-1 and as UTF-8, the two ways a text
// reaches Zorvel from the wire or from the desktop.
template <typename Check>
void checkAsLatin1AndUtf8(const uint8_t* data, size_t size, Check check)
{
    const QByteArray bytes = bytesOf(data, size);
    check(QString::fromLatin1(bytes));
    check(QString::fromUtf8(bytes));
}

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace FuzzInput
