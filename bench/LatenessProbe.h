#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

// A 5 ms timer on the UI thread that records how late each of its ticks comes.
class LatenessProbe : public QObject {
public:
    LatenessProbe();

    // Starts ticking, forgetting earlier ticks' reference.
    void start();
    void stop();

    // The lateness, in milliseconds, below which that share of ticks came (0 to 1).
    double percentile(double share) const;
    double largest() const;

private:
    void tick();

    QTimer timer;
    QElapsedTimer sinceLastTick;
    std::vector<double> latenesses;
};
