#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// What zorvel-farm printed: its servers in the master's order, each with its answer
// delay or silent, and the master's port.
class FarmListing {
public:
    // Takes one printed line; true once the master's line came, which is the last.
    bool read(const QString& line);

    const QStringList& addresses() const { return listed; }
    int answeringCount() const { return static_cast<int>(delays.size()); }
    quint16 masterPort() const { return port; }
    // The server's answer delay in milliseconds; nothing for a silent or unknown one.
    std::optional<int> delayOf(const QString& address) const;

private:
    QStringList listed;
    QHash<QString, int> delays;
    quint16 port = 0;
};
