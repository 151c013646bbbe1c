#pragma once

#include <QByteArray>

// What the settings file's INI reader passes over without a word: lines that are
// neither blank, a comment, a section header, a "key=value" line nor the continuation
// of one. The reader drops them and the next write of the file loses them for good,
// so a file that has any counts as damaged.
class IniFileCheck {
public:
    static int droppedLines(const QByteArray& fileContent);
};
