#include "platform/Preferences.h"
#include "app/RegisteredSettings.h"
#include "support/Files.h"
#include "support/LogCapture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>


using Files::permissionsOf;

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

// What each registered setting makes of a stored text: numbers by their leading
// digits, so units and blanks are fine, but a text without digits is no number; out
// of the type or the range, the default is in effect.
TEST(PreferencesTest, aStoredValueOutsideItsSettingsTypeOrRangeReadsAsTheDefault)
{
    const QTemporaryDir folder;
    Preferences store(folder.filePath("Zorvel.conf"));
    store.registerDefaults(RegisteredSettings::table({}));
    struct Case {
        const char* key;
        QVariant stored;
        QVariant inEffect;
        bool outside = false;
    };
    const QList<Case> cases = {
        {"Timeout", "750000", 750000},
        {"Timeout", " +750000 us", 750000},
        {"Timeout", "abc", 500000, true},
        {"Timeout", "", 500000, true},
        {"Timeout", "0", 500000, true},
        {"Timeout", "1000000", 500000, true},
        {"Timeout", "99999999999", 500000, true},
        {"Refresh delay in seconds", "60", 60},
        {"Refresh delay in seconds", "-60", 600, true},
        {"Number of servers by thread", "0", 250, true},
        {"Latency for double command", "2 s", "2 s"},
        {"Latency for double command", "fast", "500 ms", true},
        {"Latency for double command", "-1", "500 ms", true},
        {"Latency for double command", "20000 ms", "500 ms", true},
        {"Auto Refresh", "yes", true},
        {"Auto Refresh", "0", false},
        {"Auto Refresh", "maybe", false, true},
        {"Refresh server when selected", "TRUE", true},
        {"CoD Master Server Port", "abc", "abc"},
        {"CoD Master Server", QStringList({"a", "b"}), "codmaster.activision.com", true},
    };
    for (const Case& test : cases) {
        const std::string stored = test.key + (" = " + test.stored.toString().toStdString());
        ASSERT_TRUE(store.setObject(test.stored, test.key));
        const LogCapture log;
        EXPECT_EQ(store.objectForKey(test.key), test.inEffect) << stored;
        store.objectForKey(test.key);
        EXPECT_EQ(log.lines().size(), test.outside ? 1 : 0) << stored;
    }
}
