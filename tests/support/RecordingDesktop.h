#pragma once

#include "launch/Desktop.h"

#include <QHash>
#include <QList>

#include <mutex>

// A desktop where only the game applications a test declares are installed, and
// that records the programs it is asked to start instead of starting them. Safe to
// call from any thread.
class RecordingDesktop : public Desktop {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };

    QString applicationPath(const QString& identifier) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;

    // Declares the game application installed at the path.
    void installApplication(const QString& identifier, const QString& path);
    QList<Started> started() const;

    // Installs a new recorder, with no game installed, as the process's desktop.
    static RecordingDesktop& install();

private:
    mutable std::mutex lock;
    QHash<QString, QString> applications;
    QList<Started> startedPrograms;
};
