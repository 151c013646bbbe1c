// Saved rotations come back from the store through this decoder: no input may crash
// it, and whatever it accepts must archive back to the same bytes.
#include "admin/ConfigForRotation.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto configs = ConfigForRotation::unarchiveList(bytes)) {
        if (ConfigForRotation::archiveList(*configs) != bytes)
            std::abort();
    }
    return 0;
}
