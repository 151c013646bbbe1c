#include "MainWindowFixture.h"

#include "model/ServerArchive.h"
#include "platform/Preferences.h"
#include "support/LogCapture.h"

#include <QSettings>

using ZorvelStartup = MainWindowFixture;

TEST_F(ZorvelStartup, withoutReadableStoredFavouritesThePresetOneIsShownAndNothingIsWritten)
{
    const QList<QVariant> unreadable = {QVariant(), QByteArray("\x00\x00\x00\x02garbage", 11),
                                        QString("not an archive")};
    for (const QVariant& stored : unreadable) {
        if (stored.isValid())
            Preferences::standard().setObject(stored, "myServers");
        const QByteArray before = storedFavourites();
        const LogCapture log;
        Zorvel controller;

        ASSERT_EQ(controller.myServers().size(), 1);
        EXPECT_EQ(controller.myServers().first()->serverIp(), "127.0.0.1:28960");
        EXPECT_EQ(log.lines().size(), stored.isValid() ? 1 : 0) << "a damaged store is logged";
        controller.applicationWillTerminate();
        EXPECT_TRUE(alerts->shown().isEmpty());
        EXPECT_EQ(storedFavourites(), before);
    }
    EXPECT_EQ(QSettings(Preferences::standard().filePath(), QSettings::IniFormat).allKeys(),
              QStringList({"Timeout", "myServers"}));
}

TEST_F(ZorvelStartup, quitPromptStoresTheModifiedListOnlyOnYes)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960", "secret"), server("Bravo", "10.0.0.2:28960")});
    const QByteArray original = storedFavourites();
    for (const Alerts::Answer answer : {Alerts::AlternateButton, Alerts::DefaultButton}) {
        Zorvel controller;
        EXPECT_FALSE(controller.listOfServersModified()) << "loading modifies nothing";
        controller.myServers().at(1)->setServerName("Renamed");
        controller.setListOfServersModified(true);
        alerts->answerNext(answer);
        controller.applicationWillTerminate();
        if (answer == Alerts::AlternateButton) {
            EXPECT_EQ(storedFavourites(), original);
        }
    }
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().first().message, "Do you want to save the new list ?");
    const auto stored = ServerArchive::unarchiveServerList(storedFavourites());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(namesOf(*stored), QStringList({"Alpha", "Renamed"}));
    EXPECT_EQ(stored->at(0)->serverPass(), "secret");
}
