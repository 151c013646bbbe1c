// UT2004 players answers come from the network: no datagram may crash the parser, and
// every player it reads takes at least the thirteen bytes of a record with no name.
#include "net/UtPlayersAnswer.h"
#include "net/UtProtocol.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView answer(data, static_cast<qsizetype>(size));
    const QList<UtPlayersAnswer::Player> players = UtPlayersAnswer::parse(answer);
    qsizetype bytesRead = UtProtocol::requestLength;
    for (const UtPlayersAnswer::Player& player : players)
        bytesRead += 13 + player.name.size();
    if (!players.isEmpty() && bytesRead > answer.size())
        std::abort();
    return 0;
}
