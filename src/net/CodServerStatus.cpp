// The status query of a server record: the refresh and the colour-code removal.
#include "model/CodServer.h"

QString CodServer::clearColoredName(const QString& name)
{
    const auto isColourCodeAt = [&name](qsizetype i) {
        return name.at(i) == u'^' && i + 1 < name.size() && name.at(i + 1) >= u'0' && name.at(i + 1) <= u'9';
    };
    QString cleared;
    cleared.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isColourCodeAt(i))
            ++i;
        else
            cleared.append(name.at(i));
    }
    return cleared;
}
