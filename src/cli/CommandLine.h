#pragma once

#include <QString>

#include <optional>

// The commands of the command line ("zorvel query ...", "zorvel help scan"): they run
// without widgets or a display, under a QCoreApplication, read the preferences and
// write nothing. Without a command, Zorvel starts its window.
class CommandLine {
public:
    // Whether the arguments name a command (the first one after the program).
    static bool namesCommand(int argc, char** argv);
    // Runs the command and returns the process's exit status.
    static int run(int argc, char** argv);
    // The list of commands, for the window's --help.
    static QString commandsHelp();
    // The line that tells why the window cannot open, when there is no display to
    // open it on and no platform was chosen; nothing when it can try.
    static std::optional<QString> missingDisplay(int argc, char** argv);
};
