#include "cli/ZorvelCommand.h"

#include "platform/Preferences.h"
#include "support/Files.h"
#include "support/TestPreferences.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <gtest/gtest.h>

ZorvelCommand::ZorvelCommand()
{
    Preferences::installStandard(std::make_unique<Preferences>(settingsFile()));
    // Long enough for a loaded machine, short enough for silent servers.
    TestPreferences::setTimeout(400000);
}

QString ZorvelCommand::settingsFile() const
{
    return home.filePath(QStringLiteral("Zorvel/Zorvel.conf"));
}

ChildProcess::Start ZorvelCommand::startOf(const QStringList& arguments, const QStringList& environment) const
{
    return {
        .program = QStringLiteral(ZORVEL_PROGRAM),
        .arguments = arguments,
        .environment = QStringList{"XDG_CONFIG_HOME=" + home.path(), "HOME=" + home.path(), "DISPLAY=",
                                   "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "DBUS_SESSION_BUS_ADDRESS="}
            + environment,
    };
}

ZorvelCommand::Result ZorvelCommand::run(const QStringList& arguments, const QStringList& environment) const
{
    const QString errorFile = home.filePath(QStringLiteral("standard-error"));
    QFile::remove(errorFile);
    ChildProcess::Start start = startOf(arguments, environment);
    start.errorFile = errorFile;
    ChildProcess process(start);
    Result result;
    result.output = process.readToEnd();
    result.status = process.waitForExit();
    result.error = Files::contentOf(errorFile);
    QFile::remove(errorFile);
    return result;
}

std::unique_ptr<ChildProcess> ZorvelCommand::start(const QStringList& arguments, const QString& errorFile) const
{
    ChildProcess::Start start = startOf(arguments, {});
    start.errorFile = errorFile;
    start.outputFile = errorFile;
    return std::make_unique<ChildProcess>(start);
}

QList<QJsonObject> ZorvelCommand::Result::jsonLines() const
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        EXPECT_TRUE(document.isObject()) << error.errorString().toStdString() << " in " << line.toStdString();
        objects.append(document.object());
    }
    return objects;
}

// The keys at the object's top level: a string followed by a colon, outside nested
// objects and arrays.
QStringList ZorvelCommand::Result::keysInOrder(const QByteArray& jsonLine)
{
    QStringList keys;
    int depth = 0;
    bool inString = false;
    qsizetype stringStart = 0;
    for (qsizetype i = 0; i < jsonLine.size(); ++i) {
        const char c = jsonLine.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"') {
                inString = false;
                const qsizetype next = jsonLine.indexOf(':', i);
                const bool isKey = depth == 1 && next >= 0 && jsonLine.mid(i + 1, next - i - 1).trimmed().isEmpty();
                if (isKey)
                    keys.append(QString::fromUtf8(jsonLine.mid(stringStart, i - stringStart)));
            }
        } else if (c == '"') {
            inString = true;
            stringStart = i + 1;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}
