#pragma once

#include <QHash>
#include <QString>

#include <optional>

// One CoD4 master scan through the controller of a shown main window, as the menu
// command runs it, with both finders open, a player search running, and a 5 ms timer
// on the UI thread beside it. The scan's answers go in a history of servers of its own,
// in a temporary folder.
class ControllerScan {
public:
    struct Figures {
        // From the scan command to the end of the scan, master fetch included.
        double wallSeconds;
        // Lateness of the UI thread's timer, from the scan command to its end: the
        // ticks that come while the scan runs.
        double uiP99Ms;
        double uiMaxMs;
        // The peak of resident memory during the scan, above what it was before.
        double peakGrowthKib;
        // From the end of the scan until the history wrote every answer it recorded.
        double historyWriteSeconds;
        // Lateness of the UI thread's timer from the scan command until the history
        // wrote the scan's answers.
        double historyUiP99Ms;
        double historyUiMaxMs;
        // The bytes the history's tables take, and the answers they hold.
        double historyBytes;
        double historyAnswers;
        // The ping shown for each server kept, in milliseconds.
        QHash<QString, int> pings;
    };

    // The preferences' default "Timeout".
    static constexpr int defaultTimeoutMicroseconds = 500000;

    // Scans the master on 127.0.0.1 with that "Timeout" and that speed setting
    // ("Number of servers by thread"); nothing when the finders did not open or the
    // master did not list any server.
    static std::optional<Figures> run(quint16 masterPort, int serversByThread,
                                      int timeoutMicroseconds = defaultTimeoutMicroseconds);

    // The figures as text, one "ping ADDRESS MS" line per server, then the rest in
    // "key=value" words; and back.
    static QString format(const Figures& figures);
    static std::optional<Figures> parse(const QString& text);

private:
    static void configure(quint16 masterPort, int serversByThread, int timeoutMicroseconds);
};
