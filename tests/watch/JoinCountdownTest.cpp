#include "watch/JoinCountdown.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

TEST(JoinCountdownTest, theCountdownJoinsWhenItRunsOutAndEscapeJoinsNothing)
{
    JoinCountdown running(QStringLiteral("<b>Server</b>"), 2);
    QSignalSpy joined(&running, &JoinCountdown::joinNow);
    running.show();
    EXPECT_EQ(running.findChild<QLabel*>("countdownText")->text(), "Joining <b>Server</b> in 2 s");
    while (joined.isEmpty())
        QTest::qWait(20);
    EXPECT_EQ(joined.size(), 1);
    EXPECT_FALSE(running.isVisible());

    JoinCountdown escaped(QStringLiteral("Server"), 1);
    QSignalSpy escapedJoins(&escaped, &JoinCountdown::joinNow);
    escaped.show();
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_FALSE(escaped.isVisible());
    EXPECT_FALSE(escaped.findChild<QTimer*>("countdownClock")->isActive()) << "nothing is left to join later";
    EXPECT_TRUE(escapedJoins.isEmpty());
}
