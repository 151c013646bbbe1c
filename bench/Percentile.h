#pragma once

#include <vector>

namespace Percentile {

// The value below which that share (0 to 1) of the values lies: the smallest value
// with at least that share of the values at or below it; 0 for no values.
double of(std::vector<double> values, double share);

}  // namespace Percentile
