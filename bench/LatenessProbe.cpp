#include "LatenessProbe.h"

#include "Percentile.h"

#include <algorithm>

namespace {

constexpr int periodMs = 5;

}  // namespace

LatenessProbe::LatenessProbe()
{
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(periodMs);
    connect(&timer, &QTimer::timeout, this, &LatenessProbe::tick);
}

void LatenessProbe::start(std::function<bool()> condition)
{
    counts = std::move(condition);
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
    if (!counts || counts())
        latenesses.push_back(std::max(0.0, elapsedMs - periodMs));
}

double LatenessProbe::percentile(double share) const
{
    return Percentile::of(latenesses, share);
}

double LatenessProbe::largest() const
{
    return latenesses.empty() ? 0.0 : *std::max_element(latenesses.cbegin(), latenesses.cend());
}
