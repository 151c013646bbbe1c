#include "AppTest.h"

#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "launch/GameApplications.h"
#include "model/ServerArchive.h"
#include "support/LogCapture.h"
#include "support/TableCells.h"

#include <QImage>
#include <QPixmap>

namespace {

QList<bool> passOwnersOf(const QList<CodServerPtr>& servers)
{
    QList<bool> owners;
    for (const CodServerPtr& server : servers)
        owners.append(server->serverPassOwner());
    return owners;
}

}  // namespace

using ZorvelStartup = AppTest;

TEST_F(ZorvelStartup, firstStartHoldsThePresetFavouriteAndWritesNothing)
{
    Zorvel controller;
    ASSERT_EQ(controller.myServers().size(), 1);
    const CodServerPtr preset = controller.myServers().first();
    EXPECT_FALSE(preset->serverName().isEmpty());
    EXPECT_EQ(preset->serverIp(), "127.0.0.1:28960");
    EXPECT_TRUE(preset->serverPass().isEmpty());
    EXPECT_FALSE(preset->serverPassOwner());
    EXPECT_EQ(preset->commError(), CodServer::NeverContacted);

    Preferences& store = Preferences::standard();
    EXPECT_EQ(store.integerForKey("Refresh delay in seconds"), 600);
    EXPECT_EQ(store.stringForKey("Latency for double command"), "500 ms");
    EXPECT_FALSE(store.boolForKey("Auto Refresh"));
    EXPECT_EQ(store.integerForKey("CoD2 Master Server Port"), 20710);

    controller.applicationWillTerminate();
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_EQ(keysInFile(), QStringList{"Timeout"});
}

TEST_F(ZorvelStartup, storedFavouritesLoadInOrderAndOwnExactlyTheirPasswords)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960", "secret"), server("Bravo", "10.0.0.2:28960"),
                     server("Charlie", "10.0.0.3:28961", "x")});
    Zorvel controller;
    EXPECT_EQ(namesOf(controller.myServers()), QStringList({"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(passOwnersOf(controller.myServers()), QList<bool>({true, false, true}));
    EXPECT_EQ(controller.myServers().at(2)->serverIp(), "10.0.0.3:28961");
    EXPECT_FALSE(controller.myServers().at(0)->lastUpdate().has_value());
    EXPECT_FALSE(controller.listOfServersModified());
}

TEST_F(ZorvelStartup, unreadableStoredFavouritesGiveThePresetAndStayStored)
{
    const QList<QVariant> unreadable = {QByteArray("\x00\x00\x00\x02garbage", 11), QString("not an archive")};
    for (const QVariant& stored : unreadable) {
        Preferences::standard().setObject(stored, "myServers");
        const QByteArray before = storedFavourites();
        const LogCapture log;
        Zorvel controller;

        ASSERT_EQ(controller.myServers().size(), 1);
        EXPECT_EQ(controller.myServers().first()->serverIp(), "127.0.0.1:28960");
        EXPECT_EQ(log.lines().size(), 1);
        controller.applicationWillTerminate();
        EXPECT_TRUE(alerts->shown().isEmpty());
        EXPECT_EQ(storedFavourites(), before);
    }
}

TEST_F(ZorvelStartup, quitPromptStoresTheModifiedListOnlyOnYes)
{
    storeFavourites({server("Alpha", "10.0.0.1:28960", "secret"), server("Bravo", "10.0.0.2:28960")});
    const QByteArray original = storedFavourites();
    {
        Zorvel controller;
        controller.myServers().at(1)->setServerName("Renamed");
        controller.setListOfServersModified(true);
        alerts->answerNext(Alerts::AlternateButton);
        controller.applicationWillTerminate();
        ASSERT_EQ(alerts->shown().size(), 1);
        const RecordingAlerts::Shown prompt = alerts->shown().first();
        EXPECT_EQ(prompt.title, "Modified list of servers");
        EXPECT_EQ(prompt.message, "Do you want to save the new list ?");
        EXPECT_EQ(prompt.defaultButton, "Yes");
        EXPECT_EQ(prompt.alternateButton, "No");
        EXPECT_EQ(storedFavourites(), original);
    }
    Zorvel controller;
    controller.myServers().at(1)->setServerName("Renamed");
    controller.setListOfServersModified(true);
    alerts->answerNext(Alerts::DefaultButton);
    controller.applicationWillTerminate();
    EXPECT_FALSE(controller.listOfServersModified());
    const auto stored = ServerArchive::unarchiveServerList(storedFavourites());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(namesOf(*stored), QStringList({"Alpha", "Renamed"}));
    EXPECT_EQ(stored->at(0)->serverPass(), "secret");
}

TEST_F(ZorvelStartup, installedGamesAreThoseTheDesktopFinds)
{
    desktop->installApplication(GameApplications::callOfDuty4, "/opt/games/iw3mp");
    desktop->installApplication(GameApplications::urbanTerror, "/usr/games/urbanterror");
    const Zorvel controller;
    EXPECT_FALSE(controller.hasCoD());
    EXPECT_FALSE(controller.hasUO());
    EXPECT_FALSE(controller.hasCoD2());
    EXPECT_TRUE(controller.hasCoD4());
    EXPECT_TRUE(controller.hasUrbanTerror());
}

TEST_F(ZorvelStartup, everyImageLoadsUnderItsName)
{
    for (const char* name : {"CoDgame.gif", "UOgame.gif", "CoD2game.gif", "CoD4game.gif", "ETgame.gif",
                             "UrbanTerrorGame.gif", "UT2k4game.gif", "PBOn.gif", "PassOn.tif"})
        EXPECT_FALSE(QPixmap(QStringLiteral(":/images/") + name).isNull()) << name;

    const Zorvel controller;
    QList<QImage> distinctIcons;
    for (GameKind kind : {GameKind::CoD, GameKind::UO, GameKind::CoD2, GameKind::CoD4, GameKind::ET,
                          GameKind::UrbanTerror, GameKind::UT2004}) {
        const QPixmap icon = controller.gameImage(kind);
        EXPECT_FALSE(icon.isNull());
        EXPECT_FALSE(distinctIcons.contains(icon.toImage()));
        distinctIcons.append(icon.toImage());
    }
    EXPECT_TRUE(controller.gameImage(GameKind::Unknown).isNull());
    EXPECT_FALSE(controller.punkbusterImage().isNull());
    EXPECT_FALSE(controller.passwordImage().isNull());
}
