#include "net/MasterListFetch.h"

MasterListFetch::MasterListFetch(std::chrono::microseconds timeout, TimePoint requestSent,
                                 const QByteArray& entryPrefix, bool everyEotEndsTheList)
    : timeout(timeout)
    , cutOff(requestSent + longestFetchInTimeouts * timeout)
    , lastHeard(requestSent)
    , stream(entryPrefix)
    , entryPrefix(entryPrefix)
    , everyEotEndsTheList(everyEotEndsTheList)
{
}

QList<ServerAddress> MasterListFetch::take(QByteArrayView datagram, TimePoint arrival)
{
    if (over)
        return {};
    const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(datagram, entryPrefix);
    heardAt(arrival);
    const bool datagramEnd = decoded.ending == MasterListDecoder::Ending::Datagram;
    marksDatagrams = marksDatagrams || datagramEnd;
    sawListEnd = decoded.ending == MasterListDecoder::Ending::List || (datagramEnd && everyEotEndsTheList);
    cut = ++datagrams == maximumDatagrams && !sawListEnd;
    over = !decoded.isListAnswer || sawListEnd || cut;
    serversListed += decoded.servers.size();
    return decoded.servers;
}

QList<ServerAddress> MasterListFetch::takeStream(QByteArrayView bytes, TimePoint arrival)
{
    if (over)
        return {};
    heardAt(arrival);
    const QList<ServerAddress> servers = stream.take(bytes);
    cut = stream.isFull();
    over = cut;
    serversListed += servers.size();
    return servers;
}

void MasterListFetch::heardAt(TimePoint arrival)
{
    lastHeard = arrival;
    heard = true;
}

void MasterListFetch::expire(TimePoint now)
{
    if (over || now < deadline())
        return;
    over = true;
    endedOnSilence = lastHeard + timeout <= cutOff;
    cut = !endedOnSilence;
}

MasterListFetch::TimePoint MasterListFetch::deadline() const
{
    return std::min(lastHeard + timeout, cutOff);
}
