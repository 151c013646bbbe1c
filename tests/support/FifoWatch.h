#pragma once

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

// A named pipe that the test owns, and whether anything opened it for reading: the
// file a text from the network may name, in an image tag for one. Opening a pipe for
// reading waits for a writer, so a thread waits to open it for writing, again and
// again: each reader that came finds the pipe closed at once, reads nothing and goes on.
class FifoWatch {
public:
    FifoWatch();
    ~FifoWatch();
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    const QString& path() const { return fifoPath; }
    bool wasOpened() const { return opened; }

private:
    QTemporaryDir folder;
    QString fifoPath;
    std::atomic<bool> opened = false;
    std::atomic<bool> finishing = false;
    std::thread writer;
};
