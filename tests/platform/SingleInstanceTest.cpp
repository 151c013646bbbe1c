#include "platform/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

namespace {

using namespace std::chrono_literals;

TEST(SingleInstance, OneClaimPerFolder)
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("Zorvel"));
    const QString otherFolder = home.filePath(QStringLiteral("Other"));
    SingleInstance first(folder);
    ASSERT_TRUE(first.claim());
    EXPECT_FALSE(SingleInstance(folder).claim());
    EXPECT_TRUE(SingleInstance(otherFolder).claim());
    EXPECT_NE(SingleInstance::serverNameFor(folder), SingleInstance::serverNameFor(otherFolder));
}

TEST(SingleInstance, LaterStartReachesTheRunningOne)
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("Zorvel"));
    SingleInstance running(folder);
    ASSERT_TRUE(running.claim());
    QSignalSpy secondStarts(&running, &SingleInstance::secondStart);
    // The later start blocks until it is answered: it runs beside this event loop.
    std::future<bool> handedOver = std::async(std::launch::async, [&] { return SingleInstance(folder).handOver(); });
    EXPECT_TRUE(secondStarts.wait(60000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handedOver.wait_for(0s) == std::future_status::ready; }, 60000));
    EXPECT_TRUE(handedOver.get());
}

}  // namespace
