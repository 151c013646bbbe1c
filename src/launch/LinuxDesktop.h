#pragma once

#include "launch/Desktop.h"

// The Linux desktop: a game application is an executable found on PATH, and a
// program is started with QProcess, detached. The games offer no services here: a
// service of Call of Duty or United Offensive starts the game's launcher with the
// console commands the service would have run, as "+command" arguments.
class LinuxDesktop : public Desktop {
public:
    QString applicationPath(const QString& identifier) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool performService(const QString& service, const QString& text) override;
};
