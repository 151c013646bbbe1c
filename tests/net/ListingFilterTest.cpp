#include "net/ListingFilter.h"

#include <gtest/gtest.h>

namespace {

// A listing as the transport returns it when it fits one datagram.
QString listing(const QString& lines)
{
    return QStringLiteral("\xff\xff\xff\xffprint\n---------------\n") + lines + QStringLiteral("9 files listed\n");
}

QStringList mapNames(GameKind kind, const QString& lines)
{
    const std::optional<ListingFilter::MapListing> map = ListingFilter::mapListingOf(kind);
    return map ? ListingFilter::mapNames(*map, listing(lines)) : QStringList{QStringLiteral("no listing")};
}

}  // namespace

TEST(ListingFilterTest, eachGameListsItsMapsWithItsOwnCommand)
{
    EXPECT_EQ(ListingFilter::mapListingOf(GameKind::CoD)->command, "fdir maps/mp*.bsp");
    EXPECT_EQ(ListingFilter::mapListingOf(GameKind::UO)->command, "fdir maps/mp*.bsp");
    EXPECT_EQ(ListingFilter::mapListingOf(GameKind::CoD2)->command, "fdir maps/mp*.d3dbsp");
    EXPECT_EQ(ListingFilter::mapListingOf(GameKind::CoD4)->command, "fdir *map_mp*.iwi");
    EXPECT_EQ(ListingFilter::mapListingOf(GameKind::UrbanTerror)->command, "fdir maps/ut4*.bsp");
    for (GameKind none : {GameKind::ET, GameKind::UT2004, GameKind::Unknown})
        EXPECT_FALSE(ListingFilter::mapListingOf(none).has_value());
}

TEST(ListingFilterTest, mapLinesNeedTheGamesPrefixAndExtensionWithCase)
{
    const QString codLines = QStringLiteral("maps/mp/mp_harbor.bsp\nmaps/mp/mp_harbor.BSP\nMaps/mp/mp_brecourt.bsp\n"
                                            "maps/mp/mp_carentan.bsp\nmaps/mp/mp_dawnville.d3dbsp\nmaps/mp/\n"
                                            "maps/mp/mp_harbor.bsp\nmaps/mp/mp.bsp/readme\n");
    EXPECT_EQ(mapNames(GameKind::CoD, codLines), QStringList({"mp_harbor", "mp_carentan", "mp_harbor"}));
    EXPECT_EQ(mapNames(GameKind::UO, codLines), QStringList({"mp_harbor", "mp_carentan", "mp_harbor"}));
    EXPECT_EQ(mapNames(GameKind::CoD2, codLines), QStringList({"mp_dawnville"}));
    EXPECT_EQ(mapNames(GameKind::UrbanTerror, QStringLiteral("maps/ut4_abbey.bsp\nmaps/mp/ut4_x.bsp\nut4_y.bsp\n")),
              QStringList({"ut4_abbey", "mp/ut4_x"}));
}

TEST(ListingFilterTest, cod4MapsComeFromCompassImagesLessTheUnplayableOnes)
{
    EXPECT_EQ(mapNames(GameKind::CoD4, QStringLiteral("images/compass_map_mp_backlot.iwi\n"
                                                      "images/compass_map_mp_test.iwi\n")),
              QStringList({"mp_backlot"}));
    QString unplayable;
    for (const char* name : {"mp_cellblock", "mp_dusk", "mp_facility", "mp_favela", "mp_forest", "mp_invasion",
                             "mp_mansion", "mp_palace", "mp_rooftops", "mp_suburbs", "mp_test", "mp_test"})
        unplayable += QStringLiteral("images/compass_map_%1.iwi\n").arg(QLatin1StringView(name));
    EXPECT_EQ(mapNames(GameKind::CoD4, unplayable + QStringLiteral("images/compass_map_mp_crash.iwi\n")),
              QStringList({"mp_crash"}));
}

TEST(ListingFilterTest, configurationLinesStartWithASlashAndSkipTheServersOwn)
{
    EXPECT_EQ(ListingFilter::configCommand(), "fdir /[a-z]*.cfg");
    const QString lines = QStringLiteral("/server.cfg\n/config_mp_server.cfg\n/uoconfig_mp_server.cfg\n/.cie.cfg.swp\n"
                                         "/language.cfg\nserver.cfg\n/sd.cfg\n/server.cfg\n /x.cfg\n");
    EXPECT_EQ(ListingFilter::configNames(listing(lines)), QStringList({"server.cfg", "sd.cfg", "server.cfg"}));
    EXPECT_TRUE(ListingFilter::configNames(QStringLiteral("Error: Unable to receive server response")).isEmpty());
}
