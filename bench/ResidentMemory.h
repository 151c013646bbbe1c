#pragma once

// The resident memory of this process, from the moment the object is made: its peak
// is reset then, so that what came before does not count.
class ResidentMemory {
public:
    ResidentMemory();

    // How far the peak rose above the resident memory at the start, in KiB.
    double peakGrowthKib() const;

private:
    // A "Vm..." line of /proc/self/status, in KiB; 0 when there is none.
    static double statusKib(const char* field);

    double startKib;
};
