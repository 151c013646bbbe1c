// Zorvel started again on the settings folder of a running window.
#include "support/ChildProcess.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Generous: the program starts beside other builds on a shared machine.
constexpr int startMilliseconds = 60000;

const QByteArray broughtToFront = "brought this window to the front";

// Runs of the program whose settings live in one private folder.
class SecondStartTest : public testing::Test {
protected:
    std::unique_ptr<ChildProcess> start(const QString& log, const QStringList& arguments = {}) const
    {
        return std::make_unique<ChildProcess>(ChildProcess::Start{
            .program = QStringLiteral(ZORVEL_PROGRAM),
            .arguments = arguments,
            .environment = {QStringLiteral("XDG_CONFIG_HOME=") + home.path(),
                            QStringLiteral("QT_QPA_PLATFORM=offscreen")},
            .outputFile = home.filePath(log)});
    }

    // Starts the window and waits until it holds the folder's lock: until the lock
    // file names another process than the one of `previousLock`.
    std::unique_ptr<ChildProcess> startWindow(const QString& log, const QByteArray& previousLock = {}) const
    {
        std::unique_ptr<ChildProcess> window = start(log);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const QByteArray lock = lockFile();
                return (!lock.isEmpty() && lock != previousLock) || !window->isRunning();
            },
            startMilliseconds));
        return window;
    }

    QByteArray lockFile() const { return Files::contentOf(home.filePath(QStringLiteral("Zorvel/Zorvel-window.lock"))); }
    QByteArray output(const QString& log) const { return Files::contentOf(home.filePath(log)); }

    // A later start exits at once with status 0, and the running window says it came
    // to the front.
    void expectHandOverTo(const QString& windowLog, const QString& laterLog) const
    {
        const std::unique_ptr<ChildProcess> later = start(laterLog);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !later->isRunning(); }, startMilliseconds))
            << "a second window opened";
        EXPECT_EQ(later->waitForExit(), 0);
        EXPECT_TRUE(output(laterLog).contains("its window was brought to the front")) << output(laterLog).data();
        EXPECT_TRUE(QTest::qWaitFor([&] { return output(windowLog).contains(broughtToFront); }, startMilliseconds))
            << output(windowLog).data();
    }

    QTemporaryDir home;
};

TEST_F(SecondStartTest, HandsOverToTheRunningWindowAndExits)
{
    const std::unique_ptr<ChildProcess> first = startWindow(QStringLiteral("first.log"));
    expectHandOverTo(QStringLiteral("first.log"), QStringLiteral("second.log"));
    EXPECT_TRUE(first->isRunning());
}

// A command never takes the window's lock: it runs, and the window is left alone.
TEST_F(SecondStartTest, VersionHelpAndCommandsRunBesideTheWindow)
{
    const std::unique_ptr<ChildProcess> first = startWindow(QStringLiteral("first.log"));
    EXPECT_EQ(start(QStringLiteral("version.log"), {QStringLiteral("--version")})->waitForExit(), 0);
    EXPECT_TRUE(output(QStringLiteral("version.log")).startsWith("Zorvel "));
    EXPECT_EQ(start(QStringLiteral("help.log"), {QStringLiteral("--help")})->waitForExit(), 0);
    EXPECT_EQ(start(QStringLiteral("command.log"), {QStringLiteral("help")})->waitForExit(), 0);
    const QByteArray commandOutput = output(QStringLiteral("command.log"));
    EXPECT_TRUE(commandOutput.startsWith("Commands")) << commandOutput.data();
    EXPECT_FALSE(output(QStringLiteral("first.log")).contains(broughtToFront));
    EXPECT_TRUE(first->isRunning());
}

TEST_F(SecondStartTest, StartAfterACrashTakesTheLockOver)
{
    startWindow(QStringLiteral("crashed.log"))->kill();
    const QByteArray crashedLock = lockFile();
    ASSERT_FALSE(crashedLock.isEmpty()) << "the crash leaves its lock behind";
    const std::unique_ptr<ChildProcess> next = startWindow(QStringLiteral("next.log"), crashedLock);
    ASSERT_TRUE(next->isRunning()) << output(QStringLiteral("next.log")).data();
    expectHandOverTo(QStringLiteral("next.log"), QStringLiteral("later.log"));
    EXPECT_TRUE(next->isRunning());
}

}  // namespace
