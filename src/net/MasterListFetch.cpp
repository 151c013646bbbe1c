#include "net/MasterListFetch.h"

#include "net/MasterListDecoder.h"

MasterListFetch::MasterListFetch(std::chrono::microseconds timeout, TimePoint requestSent)
    : timeout(timeout)
    , cutOff(requestSent + longestFetchInTimeouts * timeout)
    , lastDatagram(requestSent)
{
}

QList<ServerAddress> MasterListFetch::take(QByteArrayView datagram, TimePoint arrival)
{
    if (over)
        return {};
    const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(datagram);
    lastDatagram = arrival;
    over = !decoded.isListAnswer || ++datagrams == maximumDatagrams;
    serversListed += decoded.servers.size();
    return decoded.servers;
}

void MasterListFetch::expire(TimePoint now)
{
    if (now >= deadline())
        over = true;
}

MasterListFetch::TimePoint MasterListFetch::deadline() const
{
    return std::min(lastDatagram + timeout, cutOff);
}
