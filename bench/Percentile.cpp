#include "Percentile.h"

#include <algorithm>
#include <cmath>

namespace Percentile {

double of(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::min(std::max<std::size_t>(rank, 1), values.size()) - 1];
}

}  // namespace Percentile
