#include "prefs/ScanSpeed.h"

#include <algorithm>
#include <cmath>

namespace ScanSpeed {

int positionOf(int storedValue)
{
    const double logarithm = std::log(std::max(storedValue, 1));
    const auto distance = [logarithm](int value) { return std::abs(std::log(value) - logarithm); };
    const auto nearest = std::min_element(storedValues.cbegin(), storedValues.cend(),
                                          [&distance](int a, int b) { return distance(a) < distance(b); });
    return static_cast<int>(nearest - storedValues.cbegin()) + 1;
}

int queriesPerSecond(int storedValue)
{
    return paces[static_cast<std::size_t>(positionOf(storedValue) - 1)];
}

}  // namespace ScanSpeed
