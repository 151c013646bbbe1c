#include "FarmListing.h"

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
    if (words[2].startsWith(u"delay_ms="))
        delays.insert(words[1], words[2].section(u'=', 1).toInt());
    return false;
}

std::optional<int> FarmListing::delayOf(const QString& address) const
{
    const auto found = delays.constFind(address);
    if (found == delays.cend())
        return std::nullopt;
    return *found;
}
