#include "app/Preferences.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

mode_t permissionsOf(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    return status.st_mode & 0777;
}

class PreferencesTest : public testing::Test {
protected:
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder;
};

}  // namespace

TEST_F(PreferencesTest, settingsFileIsReadableByTheUserAloneWhateverTheUmask)
{
    const mode_t previousMask = ::umask(022);
    const QString existing = path("existing.conf");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nTimeout=1\n");
    }
    ASSERT_EQ(permissionsOf(existing), mode_t(0644));

    Preferences fresh(path("nested/fresh.conf"));
    fresh.setObject(QStringLiteral("secret"), "myServers");
    Preferences older(existing);
    older.setObject(2, "Timeout");
    ::umask(previousMask);

    EXPECT_EQ(permissionsOf(path("nested/fresh.conf")), mode_t(0600));
    EXPECT_EQ(permissionsOf(existing), mode_t(0600));
}

TEST_F(PreferencesTest, registeredDefaultsAreReadButNeverWritten)
{
    Preferences store(path("defaults.conf"));
    store.registerDefaults({{"Timeout", 500000}, {"Auto Refresh", false}, {"CoD Master Server Port", "20510"}});
    store.setObject(true, "Auto Refresh");

    EXPECT_EQ(store.integerForKey("Timeout"), 500000);
    EXPECT_EQ(store.integerForKey("CoD Master Server Port"), 20510);
    EXPECT_TRUE(store.boolForKey("Auto Refresh"));
    EXPECT_FALSE(store.objectForKey("myConfigs").isValid());
    EXPECT_EQ(QSettings(path("defaults.conf"), QSettings::IniFormat).allKeys(), QStringList{"Auto Refresh"});
}

TEST_F(PreferencesTest, storedTextIsReadByItsLeadingNumberOrTruthWord)
{
    {
        QSettings file(path("text.conf"), QSettings::IniFormat);
        file.setValue("Timeout", "250000 microseconds");
        file.setValue("Number of servers by thread", "  +40 servers");
        file.setValue("Refresh delay in seconds", "ten");
        file.setValue("Auto Refresh", "true");
        file.setValue("Refresh server when selected", "0");
    }
    Preferences store(path("text.conf"));
    EXPECT_EQ(store.integerForKey("Timeout"), 250000);
    EXPECT_EQ(store.integerForKey("Number of servers by thread"), 40);
    EXPECT_EQ(store.integerForKey("Refresh delay in seconds"), 0);
    EXPECT_TRUE(store.boolForKey("Auto Refresh"));
    EXPECT_FALSE(store.boolForKey("Refresh server when selected"));

    store.setObject(true, "Refresh server when selected");
    store.setObject(999000, "Timeout");
    const Preferences reread(path("text.conf"));
    EXPECT_TRUE(reread.boolForKey("Refresh server when selected"));
    EXPECT_EQ(reread.integerForKey("Timeout"), 999000);
}
