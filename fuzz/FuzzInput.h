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

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace FuzzInput
