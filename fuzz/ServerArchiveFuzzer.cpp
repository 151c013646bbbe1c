// Stored favourites and pasted records come back through the archive decoder: no
// input may crash it, and whatever it accepts must archive back to the same bytes.
#include "model/ServerArchive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto servers = ServerArchive::unarchiveServerList(bytes)) {
        if (ServerArchive::archiveServerList(*servers) != bytes)
            std::abort();
    }
    if (const CodServerPtr server = ServerArchive::unarchiveServer(bytes)) {
        if (ServerArchive::archiveServer(*server) != bytes)
            std::abort();
    }
    return 0;
}
