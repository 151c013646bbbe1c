#include "MainWindowFixture.h"

#include "platform/Preferences.h"
#include "model/ServerArchive.h"
#include "peers/GameServerPeer.h"
#include "prefs/PreferenceController.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>


// Zorvel started on a settings file that a crash, a full disk or a hand edit left
// damaged: it reads what it can, keeps a copy of what it could not before anything
// overwrites it, and tells the user.
class DamagedStore : public MainWindowFixture {
protected:
    static QByteArray settingsFile() { return Files::contentOf(Preferences::standard().filePath()); }
    // Leaves the settings file as the text says, and opens it as a new run does.
    static void writeSettingsFile(const QByteArray& text)
    {
        QFile file(Preferences::standard().filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        TestPreferences::reopen();
    }
    // The path that the start-up alert gives for the copy: its message's last words.
    QString copyNamedInAlert() const
    {
        static const QRegularExpression copyPath(QStringLiteral(" kept in (.+)\\.$"));
        return copyPath.match(alerts->shown().value(0).message).captured(1);
    }

    const QList<CodServerPtr> threeFavourites = {server("Alpha", "10.0.0.1:28960", "secret"),
                                                 server("Bravo", "10.0.0.2:28960", "pw"),
                                                 server("Charlie", "10.0.0.3:28960")};
};

TEST_F(DamagedStore, aListCutShortGivesBackEveryWholeRecordAndIsCopiedBeforeAnythingOverwritesIt)
{
    storeFavourites(threeFavourites);
    // The file ends in the middle of the third record, in its name's escaped bytes.
    const QByteArray whole = settingsFile();
    const QByteArray cut = whole.left(whole.indexOf("\\0h\\0\\x61\\0r"));
    writeSettingsFile(cut);

    start();
    ASSERT_EQ(namesOf(controller->myServers()), QStringList({"Alpha", "Bravo"}));
    EXPECT_EQ(favourite(1)->serverPass(), "pw");
    EXPECT_TRUE(favourite(1)->serverPassOwner());
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Damaged list of servers");
    EXPECT_TRUE(alerts->shown().first().message.startsWith("1 of the stored favourite servers could not be read."));
    const QByteArray copy = Files::contentOf(copyNamedInAlert());
    EXPECT_GT(copy.size(), ServerArchive::archiveServerList(threeFavourites.mid(0, 2)).size());
    EXPECT_TRUE(ServerArchive::archiveServerList(threeFavourites).startsWith(copy));
    EXPECT_EQ(Files::permissionsOf(copyNamedInAlert()), mode_t(0600));
    EXPECT_EQ(storedAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.2:28960"}))
        << "once told, the list as read replaces the damaged one";

    // The next start is clean; the same damage met again is told but not copied again.
    const QString firstCopy = copyNamedInAlert();
    const auto copies = [] {
        return QFileInfo(Preferences::standard().filePath()).dir().entryList({"*.damaged"}, QDir::Files);
    };
    endRunWithoutPrompt();
    alerts->clear();
    start();
    EXPECT_TRUE(alerts->shown().isEmpty());
    endRunWithoutPrompt();
    writeSettingsFile(cut);
    start();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(copyNamedInAlert(), firstCopy);
    EXPECT_EQ(copies().size(), 1);

    pasteText("10.0.0.4:28960");
    alerts->answerNext(Alerts::DefaultButton);
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(storedAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.2:28960", "10.0.0.4:28960"}));
    EXPECT_EQ(Files::contentOf(copyNamedInAlert()), copy);
}

TEST_F(DamagedStore, aSettingsFileWithLinesItsReaderDropsIsCopiedFirstAndLosesNoSetting)
{
    const QList<QByteArray> damages = {"[Broken section\n", "a line that lost its equals sign\n"};
    for (const QByteArray& damage : damages) {
        endRunWithoutPrompt();
        TestPreferences::installFresh();
        alerts->clear();
        storeFavourites(threeFavourites);
        Preferences::standard().setObject(750000, "Timeout");
        QByteArray text = settingsFile();
        text.replace("Timeout=", damage + "Timeout=");
        writeSettingsFile(text);

        start();
        ASSERT_EQ(alerts->shown().size(), 1) << damage.constData();
        EXPECT_EQ(alerts->shown().first().title, "Damaged settings");
        EXPECT_EQ(Files::contentOf(copyNamedInAlert()), text);
        EXPECT_EQ(Files::permissionsOf(copyNamedInAlert()), mode_t(0600));
        EXPECT_EQ(namesOf(controller->myServers()), QStringList({"Alpha", "Bravo", "Charlie"}));
        EXPECT_EQ(Preferences::standard().integerForKey("Timeout"), 750000);
        EXPECT_FALSE(settingsFile().contains(damage.trimmed()));
        EXPECT_TRUE(Preferences::standard().setObject(true, "Auto Refresh"));
    }
}

TEST_F(DamagedStore, aSettingOutsideItsTypeReadsAsItsDefaultSoQueriesGoOutAndThePanelShowsAndStoresIt)
{
    GameServerPeer peer;
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Peer\\gamename\\Call of Duty 2\n")});
    storeFavourites({server("Peer", QString::fromLatin1(peer.address()))});
    Preferences::standard().setObject("abc", "Timeout");
    const LogCapture log;
    start();

    select(0);
    clickButton("refreshServerButton");
    clickButton("refreshServerButton");
    EXPECT_EQ(peer.receivedDatagrams().count(QByteArray("\xff\xff\xff\xffgetstatus")), 2);
    EXPECT_EQ(favourite(0)->commError(), CodServer::Answered);
    EXPECT_EQ(log.lines().filter("Timeout").size(), 1) << "one log line however often it is read";

    control<QAction>("showPreferencePanel").trigger();
    PreferenceController* panel = nullptr;
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (auto* preferences = qobject_cast<PreferenceController*>(shown); preferences && preferences->isVisible())
            panel = preferences;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->findChild<QComboBox*>("timeoutBox")->currentText(), "500 ms");
    QTest::mouseClick(panel->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(QSettings(Preferences::standard().filePath(), QSettings::IniFormat).value("Timeout").toInt(), 500000);
}
