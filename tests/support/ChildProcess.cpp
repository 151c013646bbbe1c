#include "support/ChildProcess.h"

#include <QSet>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// The texts of a NULL-ended array, built before the fork: after it the child may
// only call what is safe between fork and exec.
class CStrings {
public:
    void add(const QByteArray& text) { texts.push_back(text); }
    char** array()
    {
        pointers.clear();
        for (QByteArray& text : texts)
            pointers.push_back(text.data());
        pointers.push_back(nullptr);
        return pointers.data();
    }

private:
    std::vector<QByteArray> texts;
    std::vector<char*> pointers;
};

int openForAppending(const QString& path)
{
    return ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
}

[[noreturn]] void becomeChild(const QByteArray& directory, int input, int output, int error, char** arguments,
                              char** environment)
{
    if (!directory.isEmpty() && ::chdir(directory.constData()) != 0)
        ::_exit(127);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output, STDOUT_FILENO);
    ::dup2(error, STDERR_FILENO);
    ::execvpe(arguments[0], arguments, environment);
    ::_exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const Start& start)
{
    CStrings arguments;
    arguments.add(start.program.toLocal8Bit());
    for (const QString& argument : start.arguments)
        arguments.add(argument.toLocal8Bit());
    // An entry of the start replaces the test's own entry of that name.
    QSet<QByteArray> replaced;
    for (const QString& entry : start.environment)
        replaced.insert(entry.section(u'=', 0, 0).toLocal8Bit());
    CStrings environment;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        if (!replaced.contains(text.left(text.indexOf('='))))
            environment.add(text);
    }
    for (const QString& entry : start.environment)
        environment.add(entry.toLocal8Bit());

    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int output = -1;
    if (start.outputFile.isEmpty()) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe for " + start.program.toStdString());
        outputPipe = ends[0];
        output = ends[1];
    } else {
        output = openForAppending(start.outputFile);
    }
    const int error = start.errorFile.isEmpty() ? output : openForAppending(start.errorFile);
    if (input < 0 || output < 0 || error < 0)
        throw std::runtime_error("no standard files for " + start.program.toStdString());

    const QByteArray directory = start.workingDirectory.toLocal8Bit();
    char** argumentArray = arguments.array();
    char** environmentArray = environment.array();
    pid = ::fork();
    if (pid == 0)
        becomeChild(directory, input, output, error, argumentArray, environmentArray);
    ::close(input);
    ::close(output);
    if (error != output)
        ::close(error);
    if (pid < 0)
        throw std::runtime_error("could not start " + start.program.toStdString());
}

ChildProcess::~ChildProcess()
{
    stop();
    if (outputPipe >= 0)
        ::close(outputPipe);
}

bool ChildProcess::isRunning()
{
    if (ended)
        return false;
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) != pid)
        return true;
    ended = true;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

QByteArray ChildProcess::readLine()
{
    QByteArray line;
    char byte = 0;
    while (::read(outputPipe, &byte, 1) == 1 && byte != '\n')
        line.append(byte);
    return line;
}

QByteArray ChildProcess::readToEnd()
{
    QByteArray all;
    char buffer[4096];
    for (ssize_t got; (got = ::read(outputPipe, buffer, sizeof buffer)) > 0;)
        all.append(buffer, got);
    return all;
}

int ChildProcess::waitForExit()
{
    if (!ended) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        ended = true;
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exitStatus;
}

void ChildProcess::kill()
{
    if (isRunning())
        ::kill(pid, SIGKILL);
    waitForExit();
}

void ChildProcess::stop()
{
    if (!isRunning())
        return;
    ::kill(pid, SIGTERM);
    for (int waited = 0; waited < 1000 && isRunning(); ++waited)
        std::this_thread::sleep_for(10ms);
    if (isRunning())
        ::kill(pid, SIGKILL);
    waitForExit();
}
