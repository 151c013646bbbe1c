#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// A program that a test runs beside it (a game server, a message bus, quakestat),
// started with fork and exec. QProcess starts its children with a clone that shares
// the test's memory until the exec, and ThreadSanitizer loses track of the test's
// own locks from then on: every later hand-over between threads reads as a race.
class ChildProcess {
public:
    struct Start {
        QString program{};
        QStringList arguments{};
        // Empty: the test's own.
        QString workingDirectory{};
        // "NAME=value" entries added to the test's environment, or replacing its own.
        QStringList environment{};
        // Standard output and error go to this file; when it is empty, standard
        // output goes to a pipe that readLine and readToEnd read.
        QString outputFile{};
        // Standard error goes to this file apart from the output; empty: with it.
        QString errorFile{};
    };

    // Throws when the child cannot be made; a program that cannot run ends at once
    // with status 127.
    explicit ChildProcess(const Start& start);
    // Stops a child that still runs: SIGTERM, then SIGKILL after ten seconds.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool isRunning();
    // The next line of the output pipe without its line end; empty at the end.
    QByteArray readLine();
    // Everything left in the output pipe, once the child closed it.
    QByteArray readToEnd();
    // Waits for the child's end and returns its exit status (-1 after a signal).
    int waitForExit();
    // Kills the child with SIGKILL, as a crash ends it, and waits for its end.
    void kill();

private:
    void stop();

    pid_t pid = -1;
    int outputPipe = -1;
    bool ended = false;
    int exitStatus = -1;
};
