#pragma once

#include <QByteArray>
#include <QString>

// The standard output and error of a command, written at once (unbuffered where a
// script reads line by line).
class Console {
public:
    static void out(const QByteArray& utf8);
    static void error(const QString& text);
    // Whether standard error is a terminal, where a progress line can be redrawn.
    static bool errorIsTerminal();
};
