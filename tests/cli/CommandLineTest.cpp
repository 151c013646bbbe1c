#include "cli/ZorvelCommand.h"
#include "model/ServerArchive.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "support/Files.h"
#include "support/TestPreferences.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Every file under the folder with its bytes.
QMap<QString, QByteArray> filesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files.insert(path, Files::contentOf(path));
    }
    return files;
}

}  // namespace

// Whatever is wrong, the program says what, shows the command's usage line and exits
// with status 2, without a crash and without querying anything.
TEST(CommandLineTest, badInputIsAUsageErrorThatSaysWhatWasWrongAndShowsTheUsage)
{
    ZorvelCommand zorvel;
    const QList<QStringList> mistakes = {
        {"query"},
        {"query", "garbage"},
        {"query", "10.0.0.1"},
        {"query", "10.0.0.1:0"},
        {"query", "10.0.0.1:65536"},
        {"query", "10.0.0.1:99999999999999999999"},
        {"query", "10.0.0.256:28960"},
        {"query", "[::1]:28960"},
        {"query", ":28960"},
        {"query", "good.example:28960", "bad host:1"},
        {"query", "--timeout", "0", "10.0.0.1:28960"},
        {"query", "--timeout", "1000", "10.0.0.1:28960"},
        {"query", "--no-such-option", "10.0.0.1:28960"},
        {"scan"},
        {"scan", "quake9"},
        {"scan", "cod4", "cod2"},
        {"scan", "cod4", "--pace", "0"},
        {"scan", "cod4", "--pace", "1000000000000"},
        {"scan", "cod4", "--pace", "fast"},
        {"scan", "cod2", "--master", "tcp://127.0.0.1:20710"},
        {"scan", "cod4", "--master", "127.0.0.1"},
        {"favourites", "extra"},
        {"exporter", "--interval", "1"},
        {"exporter", "--listen", "localhost:9731"},
        {"help", "nothing"},
    };
    for (const QStringList& arguments : mistakes) {
        const ZorvelCommand::Result result = zorvel.run(arguments);
        const QString command = arguments.constFirst();
        EXPECT_EQ(result.status, 2) << arguments.join(u' ').toStdString();
        const QList<QByteArray> lines = result.error.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << result.error.toStdString();
        EXPECT_TRUE(lines[0].startsWith("zorvel " + command.toUtf8() + ": ")) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].startsWith("Usage: zorvel " + command.toUtf8())) << lines[1].toStdString();
        EXPECT_TRUE(result.output.isEmpty());
    }
}

TEST(CommandLineTest, helpDescribesEachCommandWhicheverWayItIsAsked)
{
    ZorvelCommand zorvel;
    const ZorvelCommand::Result list = zorvel.run({"help"});
    EXPECT_EQ(list.status, 0);
    for (const char* command : {"query", "scan", "favourites", "games", "exporter"}) {
        EXPECT_TRUE(list.output.contains(QByteArray("  ") + command + " ")) << command;
        const ZorvelCommand::Result help = zorvel.run({"help", command});
        const ZorvelCommand::Result option = zorvel.run({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(option.output, help.output);
        EXPECT_TRUE(help.output.startsWith(QByteArray("Usage: zorvel ") + command)) << help.output.toStdString();
    }
    const ZorvelCommand::Result window = zorvel.run({"--help"});
    EXPECT_EQ(window.status, 0);
    EXPECT_TRUE(window.output.contains("zorvel help COMMAND")) << window.output.toStdString();
}

// Where there is no display and no platform was chosen, the window says so and exits
// with status 1 (Qt itself aborts there); a chosen platform starts it as before.
TEST(CommandLineTest, theWindowWithoutADisplaySaysSoInOneLine)
{
    ZorvelCommand zorvel;
    const ZorvelCommand::Result result = zorvel.run({});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.error, "zorvel: no display: set DISPLAY, or use a command such as `zorvel query`\n");
    EXPECT_EQ(zorvel.run({"--version"}).status, 0);
}

// The commands read the settings and write nothing: no settings file where there was
// none, no change and no dated copy of a damaged one, no recovery copy.
TEST(CommandLineTest, theCommandsWriteNothing)
{
    GameServerPeer server;
    server.setSilent(true);
    MasterServerPeer master;
    for (const bool withSettings : {false, true}) {
        ZorvelCommand zorvel;
        if (withSettings) {
            Preferences::standard().setObject(ServerArchive::archiveServerList({}), QStringLiteral("myServers"));
            QFile file(zorvel.settingsFile());
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("this line is damaged\n[unclosed\n");
        } else {
            QDir(zorvel.settingsFolder()).removeRecursively();
            QDir().mkpath(zorvel.settingsFolder());
        }
        const QMap<QString, QByteArray> before = filesUnder(zorvel.settingsFolder());
        zorvel.run({"query", "--timeout", "100", server.address()});
        zorvel.run({"favourites", "--timeout", "100"});
        zorvel.run({"games"});
        zorvel.run({"scan", "cod", "--timeout", "100", "--master", master.address()});
        EXPECT_EQ(filesUnder(zorvel.settingsFolder()), before) << (withSettings ? "with settings" : "without");
    }
}
