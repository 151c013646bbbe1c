#include "platform/NaturalOrder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

// Texts sorted by their keys come in natural order: runs of digits by value, of any
// length, the rest character by character, a digit against a letter as characters.
TEST(NaturalOrderTest, keysSortRunsOfDigitsByValueAndTheRestByCharacter)
{
    const QStringList natural = {
        "", "ab5", "abc", "host-5", "host-007", "host-22", "host-100", "map", "map2", "map10",
        "n99999999999999999999", "n123456789012345678901", "x9", "x9a", "x10",
    };
    QStringList sorted = natural;
    std::reverse(sorted.begin(), sorted.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return NaturalOrder::sortKey(a) < NaturalOrder::sortKey(b);
    });
    EXPECT_EQ(sorted, natural);
    EXPECT_EQ(NaturalOrder::sortKey(u"a07b"), NaturalOrder::sortKey(u"a7b")) << "leading zeros are no part of a value";
    EXPECT_LT(NaturalOrder::sortKey(u"a0"), NaturalOrder::sortKey(u"a00b"));
}
