#include "platform/IniFileCheck.h"

#include <gtest/gtest.h>

// Which lines the settings file's reader drops without a word.
TEST(IniFileCheckTest, onlyLinesThatAreNoKeyHeaderCommentOrContinuationAreDropped)
{
    const QList<std::pair<QByteArray, int>> cases = {
        {"[General]\nTimeout=500000\n\n; a comment\n# another\n  spaced = 1 \r\n", 0},
        {"[Broken section\nTimeout=1\n", 0},
        {"long=abc\\\ndef\nnext=1\n", 0},
        {"Timeout=1\nwrapped part of a value\n", 1},
        {"a\nb\n=c\n", 2},
    };
    for (const auto& [content, dropped] : cases)
        EXPECT_EQ(IniFileCheck::droppedLines(content), dropped) << content.constData();
}
