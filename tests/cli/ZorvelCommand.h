#pragma once

#include "support/ChildProcess.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The zorvel program run as a script runs it: in a settings folder of its own
// (XDG_CONFIG_HOME), with no display, no session bus and no platform chosen. Making
// one points the test's preference store at that folder's settings file, so a test
// sets what the command reads with the usual preference calls.
class ZorvelCommand {
public:
    struct Result {
        int status = -1;
        QByteArray output;
        QByteArray error;

        // Each line of the output parsed as a JSON object; a test fails on a line
        // that is not one.
        QList<QJsonObject> jsonLines() const;
        // The members' keys of the line, in the order they were written.
        static QStringList keysInOrder(const QByteArray& jsonLine);
    };

    ZorvelCommand();

    QString settingsFolder() const { return home.path(); }
    QString settingsFile() const;

    Result run(const QStringList& arguments, const QStringList& environment = {}) const;
    // Starts the program and leaves it running; its standard error goes to the file.
    std::unique_ptr<ChildProcess> start(const QStringList& arguments, const QString& errorFile) const;

private:
    ChildProcess::Start startOf(const QStringList& arguments, const QStringList& environment) const;

    QTemporaryDir home;
};
