#include "platform/IniFileCheck.h"

#include <QList>

namespace {

bool isKept(const QByteArray& line)
{
    return line.isEmpty() || line.startsWith(';') || line.startsWith('#') || line.startsWith('[')
        || line.contains('=');
}

}  // namespace

int IniFileCheck::droppedLines(const QByteArray& fileContent)
{
    int dropped = 0;
    bool continued = false;
    for (const QByteArray& rawLine : fileContent.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!continued && !isKept(line))
            ++dropped;
        // A backslash at the end of a line carries its value on to the next one.
        continued = line.endsWith('\\');
    }
    return dropped;
}
