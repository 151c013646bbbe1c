#include "FarmListing.h"

#include "app/MasterScan.h"

#include <algorithm>

bool FarmListing::read(const QString& line)
{
    const QStringList words = line.trimmed().split(u' ');
    if (words.size() < 3)
        return false;
    if (words[0] == u"master") {
        port = words[1].section(u':', 1).toUShort();
        return true;
    }
    if (words[0] != u"server")
        return false;
    listed.append(words[1]);
    if (words[2].startsWith(u"delay_ms=")) {
        delays.insert(words[1], words[2].section(u'=', 1).toInt());
        ++answering;
    }
    return false;
}

std::chrono::milliseconds FarmListing::designFloor(int batchSize, std::chrono::milliseconds timeout) const
{
    std::chrono::milliseconds floor{0};
    for (const QStringList& batch : MasterScan::batchesOf(listed, batchSize)) {
        std::chrono::milliseconds sum{0};
        for (const QString& address : batch)
            sum += delays.contains(address) ? std::chrono::milliseconds(delays.value(address)) : timeout;
        floor = std::max(floor, sum);
    }
    return floor;
}
