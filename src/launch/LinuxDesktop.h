#pragma once

#include "launch/Desktop.h"

// The Linux desktop: a game application is an executable found on PATH, and a
// program is started with QProcess, detached.
class LinuxDesktop : public Desktop {
public:
    QString applicationPath(const QString& identifier) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};
