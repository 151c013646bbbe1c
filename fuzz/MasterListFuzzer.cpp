// Master answers come from the network: no datagram may crash the decoder, and what it
// decodes is at most one address per entry's length, and nothing from a foreign
// datagram, with or without an entry prefix; a list that ends holds its marker.
#include "FuzzInput.h"
#include "net/MasterListDecoder.h"

#include <cstdint>

namespace {

// The entry prefix of the CoD4x masters.
const QByteArray entryPrefix("\0\0\0\0\4", 5);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using FuzzInput::require;
    const QByteArrayView datagram(data, static_cast<qsizetype>(size));
    for (const QByteArrayView prefix : {QByteArrayView(), QByteArrayView(entryPrefix)}) {
        const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(datagram, prefix);
        require(decoded.isListAnswer || (decoded.servers.isEmpty() && decoded.ending == MasterListDecoder::Ending::None));
        require(decoded.servers.size() * (7 + prefix.size()) <= datagram.size());
        require(decoded.ending == MasterListDecoder::Ending::None || datagram.contains("\\EOT")
                || datagram.contains("\\EOF"));
    }
    return 0;
}
