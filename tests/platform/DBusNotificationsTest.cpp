#include "platform/DBusNotifications.h"

#include "support/NotificationService.h"
#include "support/SessionBus.h"

#include <QTest>

#include <gtest/gtest.h>

// The test's own bus and notification service; the alert in the window, which tells
// the same where no service runs, is the main window's test.
TEST(DBusNotificationsTest, aNotificationReachesTheServiceWithItsBodyAsPlainText)
{
    SessionBus bus;
    const QString connection = QStringLiteral("notifications under test");
    {
        NotificationService service(bus.address());
        DBusNotifications notifications(QDBusConnection::connectToBus(bus.address(), connection));
        notifications.notify(QStringLiteral("Alert on tag/player"),
                             QStringLiteral("clan detected on favorite server(s): <b>Clan</b> & Co"));
        while (service.received().isEmpty())
            QTest::qWait(5);
        const NotificationService::Notification received = service.received().first();
        EXPECT_EQ(received.appName, "Zorvel");
        EXPECT_EQ(received.summary, "Alert on tag/player");
        EXPECT_EQ(received.body, "clan detected on favorite server(s): &lt;b&gt;Clan&lt;/b&gt; &amp; Co")
            << "a server's name is no markup";
    }
    QDBusConnection::disconnectFromBus(connection);
}
