// UT2004 information answers come from the network: no datagram may crash the parser,
// and a field is only ever found after every field before it.
#include "net/UtInfoAnswer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<UtInfoAnswer::Fields> fields
        = UtInfoAnswer::parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (fields
        && ((fields->mapName && !fields->serverName) || (fields->gametype && !fields->mapName)
            || (fields->maxClients && !fields->gametype)))
        std::abort();
    return 0;
}
