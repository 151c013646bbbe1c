#pragma once

#include <QString>

#include <optional>

// One CoD4 master scan through the controller of a shown main window, as the
// menu command runs it, with both finders open, a player search running, and a
// 5 ms timer on the UI thread beside it.
class ControllerScan {
public:
    struct Figures {
        // From the start of the threads to the end of the last one.
        double wallSeconds;
        // Lateness of the UI thread's timer after the master's list came, until the
        // scan ended.
        double uiP50Ms;
        double uiP99Ms;
        double uiMaxMs;
        // Resident memory added by the scan, per server kept.
        double kibPerServer;
        int kept;
    };

    // Scans the master on 127.0.0.1 with "Timeout" 500 ms and that many servers by
    // thread; nothing when the finders did not open or the master did not list any
    // server.
    static std::optional<Figures> run(quint16 masterPort, int batchSize);

    // The figures in "key=value" words, and back.
    static QString format(const Figures& figures);
    static std::optional<Figures> parse(const QString& line);

private:
    static void configure(quint16 masterPort, int batchSize);
    static double fetchSeconds();
    static double residentKib();
};
