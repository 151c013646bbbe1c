#include "net/MasterStreamReader.h"

#include "net/MasterListDecoder.h"

#include <algorithm>

namespace {

constexpr char entrySeparator = '\\';
constexpr qsizetype addressAndPortLength = 6;

}  // namespace

MasterStreamReader::MasterStreamReader(const QByteArray& entryPrefix)
    : entryStart(entrySeparator + entryPrefix)
    , entryLength(entryStart.size() + addressAndPortLength)
{
}

QList<ServerAddress> MasterStreamReader::take(QByteArrayView bytes)
{
    const qsizetype room = static_cast<qsizetype>(std::min<qint64>(bytes.size(), maximumBytes - total));
    if (room <= 0)
        return {};
    total += room;
    pending.append(bytes.first(room));
    QList<ServerAddress> servers;
    qsizetype at = nextEntryStart(0);
    while (at < pending.size()) {
        const QByteArrayView rest = QByteArrayView(pending).sliced(at);
        if (rest.size() >= entryLength && rest.startsWith(entryStart)) {
            servers.append(MasterListDecoder::addressAtEnd(rest.first(entryLength)));
            at = nextEntryStart(at + entryLength);
        } else if (couldBeginEntry(at)) {
            break;
        } else {
            at = nextEntryStart(at + 1);
        }
    }
    pending.remove(0, at);
    return servers;
}

qsizetype MasterStreamReader::nextEntryStart(qsizetype from) const
{
    const qsizetype found = pending.indexOf(entrySeparator, from);
    return found < 0 ? pending.size() : found;
}

bool MasterStreamReader::couldBeginEntry(qsizetype at) const
{
    const QByteArrayView rest = QByteArrayView(pending).sliced(at);
    return rest.size() < entryLength && QByteArrayView(entryStart).startsWith(rest.first(std::min(rest.size(), entryStart.size())));
}
