#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>

// What zorvel-farm printed: its servers in the master's order, each with its answer
// delay or silent, and the master's port.
class FarmListing {
public:
    // Takes one printed line; true once the master's line came, which is the last.
    bool read(const QString& line);

    const QStringList& addresses() const { return listed; }
    int answeringCount() const { return answering; }
    quint16 masterPort() const { return port; }

    // The best the scan can do: the largest, over its batches of batchSize, of the
    // sum of each server's delay, or of the time-out for a silent one.
    std::chrono::milliseconds designFloor(int batchSize, std::chrono::milliseconds timeout) const;

private:
    QStringList listed;
    // The answer delay of each answering server, in milliseconds.
    QHash<QString, int> delays;
    int answering = 0;
    quint16 port = 0;
};
