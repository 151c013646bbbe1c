// UT2004 rules answers come from the network: no datagram may crash the parser, and
// every pair it reads takes at least its two length bytes of the answer.
#include "net/UtProtocol.h"
#include "net/UtRulesAnswer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView answer(data, static_cast<qsizetype>(size));
    const QList<UtRulesAnswer::Rule> rules = UtRulesAnswer::parse(answer);
    qsizetype bytesRead = UtProtocol::requestLength;
    for (const UtRulesAnswer::Rule& rule : rules)
        bytesRead += 2 + rule.key.size() + rule.value.size();
    if (!rules.isEmpty() && bytesRead > answer.size())
        std::abort();
    return 0;
}
