#include "LatenessProbe.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int periodMs = 5;

}  // namespace

LatenessProbe::LatenessProbe()
{
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(periodMs);
    connect(&timer, &QTimer::timeout, this, &LatenessProbe::tick);
}

void LatenessProbe::start()
{
    sinceLastTick.start();
    timer.start();
}

void LatenessProbe::stop()
{
    timer.stop();
}

void LatenessProbe::tick()
{
    const double elapsedMs = static_cast<double>(sinceLastTick.nsecsElapsed()) / 1e6;
    sinceLastTick.start();
    latenesses.push_back(std::max(0.0, elapsedMs - periodMs));
}

double LatenessProbe::percentile(double share) const
{
    if (latenesses.empty())
        return 0.0;
    std::vector<double> sorted = latenesses;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size()))) - 1;
    return sorted[std::min(rank, sorted.size() - 1)];
}

double LatenessProbe::largest() const
{
    return latenesses.empty() ? 0.0 : *std::max_element(latenesses.cbegin(), latenesses.cend());
}
