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

}  // namespace

TEST(PreferencesTest, settingsFileIsReadableByTheUserAloneWhateverTheUmask)
{
    const QTemporaryDir folder;
    const mode_t previousMask = ::umask(022);
    const QString existing = folder.filePath("existing.conf");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nTimeout=1\n");
    }
    ASSERT_EQ(permissionsOf(existing), mode_t(0644));

    Preferences(folder.filePath("nested/fresh.conf")).setObject(QStringLiteral("secret"), "myServers");
    Preferences(existing).setObject(2, "Timeout");
    ::umask(previousMask);

    EXPECT_EQ(permissionsOf(folder.filePath("nested/fresh.conf")), mode_t(0600));
    EXPECT_EQ(permissionsOf(existing), mode_t(0600));
}

TEST(PreferencesTest, storedTextIsReadByItsLeadingNumberOrTruthWord)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath("text.conf");
    {
        QSettings file(path, QSettings::IniFormat);
        file.setValue("Timeout", "250000 microseconds");
        file.setValue("Number of servers by thread", "  +40 servers");
        file.setValue("Refresh delay in seconds", "ten");
        file.setValue("Auto Refresh", "true");
        file.setValue("Refresh server when selected", "0");
    }
    const Preferences store(path);
    EXPECT_EQ(store.integerForKey("Timeout"), 250000);
    EXPECT_EQ(store.integerForKey("Number of servers by thread"), 40);
    EXPECT_EQ(store.integerForKey("Refresh delay in seconds"), 0);
    EXPECT_TRUE(store.boolForKey("Auto Refresh"));
    EXPECT_FALSE(store.boolForKey("Refresh server when selected"));
}
