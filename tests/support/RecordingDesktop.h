#pragma once

#include "launch/Desktop.h"

#include <QHash>
#include <QList>

#include <mutex>

// A desktop where only the game applications a test declares are installed, and
// that records the programs it is asked to start and the services it is asked to
// invoke instead of starting or invoking anything. Safe to call from any thread.
class RecordingDesktop : public Desktop {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };
    struct Performed {
        QString service;
        QString text;
    };

    QString applicationPath(const QString& identifier) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool performService(const QString& service, const QString& text) override;

    // Declares the game application installed at the path.
    void installApplication(const QString& identifier, const QString& path);
    QList<Started> started() const;
    QList<Performed> performed() const;
    // From now on every start and every service reports failure (still recorded).
    void failEverything();

    // Installs a new recorder, with no game installed, as the process's desktop.
    static RecordingDesktop& install();

private:
    mutable std::mutex lock;
    QHash<QString, QString> applications;
    QList<Started> startedPrograms;
    QList<Performed> performedServices;
    bool failing = false;
};
