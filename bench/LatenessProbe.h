#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

// A 5 ms timer on the UI thread that records how late each of its ticks comes.
class LatenessProbe : public QObject {
public:
    LatenessProbe();

    // Starts ticking, forgetting earlier ticks' reference. With a condition, a tick
    // counts only when the condition holds as it comes.
    void start(std::function<bool()> condition = {});
    void stop();

    // The lateness, in milliseconds, below which that share of ticks came (0 to 1).
    double percentile(double share) const;
    double largest() const;

private:
    void tick();

    QTimer timer;
    QElapsedTimer sinceLastTick;
    std::function<bool()> counts;
    std::vector<double> latenesses;
};
