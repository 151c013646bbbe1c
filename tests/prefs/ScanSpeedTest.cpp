#include "prefs/ScanSpeed.h"

#include <gtest/gtest.h>

#include <utility>

TEST(ScanSpeedTest, eachPositionsStoredValueSetsItsPaceAndOtherValuesTheNearestOnALogarithmicScale)
{
    for (int position = 1; position <= ScanSpeed::positions; ++position) {
        const int stored = ScanSpeed::storedValues.at(static_cast<std::size_t>(position - 1));
        EXPECT_EQ(ScanSpeed::positionOf(stored), position);
        EXPECT_EQ(ScanSpeed::queriesPerSecond(stored) * stored, 500000) << "pace and servers by thread";
    }
    const std::pair<int, int> nearest[] = {{100, 4000}, {36, 10000}, {35, 20000}, {0, 20000}, {-5, 20000},
                                           {1414, 500}, {1415, 250}, {100000, 250}};
    for (const auto& [stored, pace] : nearest)
        EXPECT_EQ(ScanSpeed::queriesPerSecond(stored), pace) << stored;
}
