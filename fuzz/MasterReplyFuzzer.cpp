// A master's reply text comes from the network: whatever it holds, the addresses a
// scan queries are distinct, each one of its ";"-separated pieces.
#include "app/MasterScan.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QStringList> addresses = MasterScan::addressesInReply(reply);
    if (!addresses) {
        if (reply.contains(u';'))
            std::abort();
        return 0;
    }
    const QStringList pieces = reply.split(u';');
    for (const QString& address : *addresses) {
        if (!pieces.contains(address) || !address.contains(u':'))
            std::abort();
    }
    if (QSet<QString>(addresses->cbegin(), addresses->cend()).size() != addresses->size())
        std::abort();
    return 0;
}
