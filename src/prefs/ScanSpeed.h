#pragma once

#include <array>

// The speed of a master scan, as the preferences' slider sets it. The setting keeps
// the number it always stored for each position (once the servers each scanning
// thread queried); that number now stands for a pace of queries a second.
namespace ScanSpeed {

inline constexpr int positions = 7;
// What positions 1 to 7 store, slow to fast.
inline constexpr std::array<int, positions> storedValues = {2000, 1000, 500, 250, 125, 50, 25};
// The pace each position sets, in queries a second.
inline constexpr std::array<int, positions> paces = {250, 500, 1000, 2000, 4000, 10000, 20000};

// The position, 1 to 7, of a stored value: the one whose stored value is nearest on
// a logarithmic scale (100 lies nearer 125 than 50 there). Values below 1 count as 1.
int positionOf(int storedValue);
// The pace of a stored value: that of its position.
int queriesPerSecond(int storedValue);

}  // namespace ScanSpeed
