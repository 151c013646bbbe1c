#include "app/Preferences.h"

#include <QFile>
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
