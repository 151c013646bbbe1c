// A TCP master's stream comes from the network in pieces of any size: whatever its
// bytes and however they are cut, the reader lists the same servers as from the
// whole stream, at most one per entry's length, and never crashes.
#include "FuzzInput.h"
#include "net/MasterStreamReader.h"

#include <cstdint>

namespace {

// The entry prefix of the CoD4x masters.
const QByteArray entryPrefix("\0\0\0\0\4", 5);

QList<ServerAddress> readWhole(const QByteArray& stream)
{
    MasterStreamReader reader(entryPrefix);
    return reader.take(stream);
}

// The first byte sets the pieces' sizes, from 1 to 32 bytes, changing as they go.
QList<ServerAddress> readInPieces(const QByteArray& stream, quint8 seed)
{
    MasterStreamReader reader(entryPrefix);
    QList<ServerAddress> servers;
    qsizetype piece = seed % 32 + 1;
    for (qsizetype at = 0; at < stream.size(); at += piece, piece = (piece * 7 + seed) % 32 + 1)
        servers += reader.take(QByteArrayView(stream).sliced(at, std::min(piece, stream.size() - at)));
    return servers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using FuzzInput::require;
    if (size == 0)
        return 0;
    const QByteArray stream = FuzzInput::bytesOf(data + 1, size - 1);
    const QList<ServerAddress> whole = readWhole(stream);
    require(whole.size() * (7 + entryPrefix.size()) <= stream.size());
    require(readInPieces(stream, data[0]) == whole);
    return 0;
}
