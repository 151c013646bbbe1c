#include "platform/Preferences.h"
#include "app/RegisteredSettings.h"
#include "support/Files.h"
#include "support/LogCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <unistd.h>

#include <algorithm>
#include <vector>

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
        {"Scan tries", "5", 5},
        {"Scan tries", "6", 3, true},
        {"Scan tries", "0", 3, true},
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

// A read-only store reads the file as it is and never writes it: no file where there
// was none, no dated copy of a damaged one; what is set lasts for the run alone and
// is held to the setting's range like a stored value.
TEST(PreferencesTest, aReadOnlyStoreReadsTheFileAndKeepsWhatIsSetInMemory)
{
    const QTemporaryDir folder;
    const QString absent = folder.filePath("absent/Zorvel.conf");
    Preferences fresh(absent, Preferences::Access::ReadOnly);
    fresh.registerDefaults(RegisteredSettings::table({}));
    EXPECT_TRUE(fresh.setObject(2000, "Timeout"));
    EXPECT_EQ(fresh.integerForKey("Timeout"), 2000);
    EXPECT_TRUE(fresh.setObject(5, "Timeout"));
    EXPECT_EQ(fresh.integerForKey("Timeout"), 500000);
    EXPECT_FALSE(QFile::exists(absent));
    EXPECT_FALSE(QFile::exists(folder.filePath("absent")));

    const QString damaged = folder.filePath("Zorvel.conf");
    const QByteArray content = "[General]\nTimeout=3000\nnot a setting line\n";
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    {
        Preferences store(damaged, Preferences::Access::ReadOnly);
        store.registerDefaults(RegisteredSettings::table({}));
        EXPECT_EQ(store.integerForKey("Timeout"), 3000);
        EXPECT_TRUE(store.fileWasDamaged());
        EXPECT_TRUE(store.setObject(QStringLiteral("example.org"), "CoD Master Server"));
        EXPECT_EQ(store.stringForKey("CoD Master Server"), "example.org");
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"Zorvel.conf"}));
    EXPECT_EQ(Files::contentOf(damaged), content);
}

namespace {

// Leaves the process one free file descriptor while it lives: a settings file then
// opens for writing, but its writer, which needs a lock file and a new file at once,
// fails. That is how a write fails for root too.
class OneFreeFileDescriptor {
public:
    OneFreeFileDescriptor()
    {
        ::getrlimit(RLIMIT_NOFILE, &previous);
        rlimit few = previous;
        few.rlim_cur = std::min<rlim_t>(previous.rlim_cur, 1024);
        ::setrlimit(RLIMIT_NOFILE, &few);
        for (int fd; (fd = ::dup(0)) >= 0;)
            taken.push_back(fd);
        if (!taken.empty()) {
            ::close(taken.back());
            taken.pop_back();
        }
    }
    ~OneFreeFileDescriptor()
    {
        for (int fd : taken)
            ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &previous);
    }

private:
    rlimit previous{};
    std::vector<int> taken;
};

}  // namespace

// A value the file refused is forgotten: the next write, once the file takes writes
// again, stores only what was accepted, and says it did.
TEST(PreferencesTest, aRefusedValueIsNeverWrittenLater)
{
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' own checks open a pipe to probe memory: with a single free file
    // descriptor they report the warning that the refused write logs as a fault.
    GTEST_SKIP() << "needs the file descriptors that the sanitizers' checks take";
#endif
    const QTemporaryDir folder;
    const QString path = folder.filePath("Zorvel.conf");
    Preferences store(path);
    ASSERT_TRUE(store.setObject(QByteArray("accepted"), "myServers"));
    const QByteArray refused(4096, 'r');
    {
        const OneFreeFileDescriptor oneFree;
        EXPECT_FALSE(store.setObject(refused, "myServers"));
    }
    EXPECT_EQ(store.dataForKey("myServers"), "accepted");

    EXPECT_TRUE(store.setObject(QByteArray("geometry"), "Main window geometry"));
    const QByteArray content = Files::contentOf(path);
    EXPECT_FALSE(content.contains("rrrr")) << content.data();
    EXPECT_TRUE(content.contains("accepted"));
    EXPECT_TRUE(content.contains("geometry"));
    EXPECT_EQ(Preferences(path).dataForKey("myServers"), "accepted");
}
