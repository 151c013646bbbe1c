#include "model/NumberTexts.h"

#include <gtest/gtest.h>

// A shared text must read exactly as the one received: only plain numbers from 0 to
// 999 are swapped for the shared copy, everything else is kept as it came.
TEST(NumberTextsTest, onlyPlainSmallNumbersAreSharedAndEveryTextReadsAsReceived)
{
    for (const QString text : {"0", "7", "42", "999"}) {
        const QString shared = NumberTexts::shared(QString(text));
        EXPECT_EQ(shared, text);
        EXPECT_EQ(shared.constData(), NumberTexts::shared(QString(text)).constData()) << qPrintable(text);
    }
    for (const QString text : {"", "1000", "007", "00", "-1", "+5", "1 ", "1.5", "x", "\u0663"}) {
        const QString kept = NumberTexts::shared(text);
        EXPECT_EQ(kept, text);
        EXPECT_EQ(kept.constData(), text.constData()) << qPrintable(text);
    }
}
