// Master answers come from the network: no datagram may crash the decoder, and what it
// decodes is at most one address per seven bytes, and nothing from a foreign datagram.
#include "net/MasterListDecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView datagram(data, static_cast<qsizetype>(size));
    const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(datagram);
    if (!decoded.isListAnswer && !decoded.servers.isEmpty())
        std::abort();
    if (decoded.servers.size() * 7 > datagram.size())
        std::abort();
    return 0;
}
