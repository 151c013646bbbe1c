#include "net/ScanPacer.h"

#include <algorithm>

namespace {

// A thread held up for a few tens of milliseconds (parsing a batch of answers, or
// waiting for a core the machine's other work holds) sends what fell due meanwhile,
// so that the scan keeps its pace on a busy machine.
constexpr double burstSeconds = 0.02;

}  // namespace

ScanPacer::ScanPacer(int queriesPerSecond, TimePoint start)
    : credit(1.0)
    , lastUpdate(start)
{
    setPace(queriesPerSecond);
}

void ScanPacer::setPace(int queriesPerSecond)
{
    perSecond = std::max(queriesPerSecond, 1);
    mostCredit = std::max(1.0, perSecond * burstSeconds);
    credit = std::min(credit, mostCredit);
}

int ScanPacer::allowance(TimePoint now)
{
    const std::chrono::duration<double> elapsed = now - lastUpdate;
    if (elapsed.count() > 0) {
        credit = std::min(mostCredit, credit + elapsed.count() * perSecond);
        lastUpdate = now;
    }
    return static_cast<int>(credit);
}

ScanPacer::TimePoint ScanPacer::nextQuery() const
{
    if (credit >= 1.0)
        return lastUpdate;
    const std::chrono::duration<double> wait((1.0 - credit) / perSecond);
    return lastUpdate + std::chrono::ceil<std::chrono::nanoseconds>(wait);
}
