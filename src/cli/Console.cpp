#include "cli/Console.h"

#include <cstdio>

#include <unistd.h>

void Console::out(const QByteArray& utf8)
{
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
    std::fflush(stdout);
}

void Console::error(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
    std::fflush(stderr);
}

bool Console::errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}
