#include "net/ListingFilter.h"

#include <gtest/gtest.h>

namespace {

// A listing as the transport returns it when it fits one datagram.
QString listing(const QString& lines)
{
    return QStringLiteral("\xff\xff\xff\xffprint\n---------------\n") + lines + QStringLiteral("9 files listed\n");
}

}  // namespace

TEST(ListingFilterTest, eachListingAsksWithItsOwnCommandAndKeepsOnlyItsLines)
{
    const QString codLines = QStringLiteral("maps/mp/mp_harbor.bsp\nmaps/mp/mp_harbor.BSP\nMaps/mp/mp_brecourt.bsp\n"
                                            "maps/mp/mp_carentan.bsp\nmaps/mp/mp_dawnville.d3dbsp\nmaps/mp/\n"
                                            "maps/mp/mp_harbor.bsp\nmaps/mp/mp.bsp/readme\n");
    QString cod4Lines = QStringLiteral("images/compass_map_mp_backlot.iwi\n");
    for (const char* unplayable : {"mp_cellblock", "mp_favela", "mp_test", "mp_test"})
        cod4Lines += QStringLiteral("images/compass_map_%1.iwi\n").arg(QLatin1StringView(unplayable));
    const struct {
        GameKind kind;
        const char* command;
        QString lines;
        QStringList maps;
    } cases[] = {
        {GameKind::CoD, "fdir maps/mp*.bsp", codLines, {"mp_harbor", "mp_carentan", "mp_harbor"}},
        {GameKind::UO, "fdir maps/mp*.bsp", codLines, {"mp_harbor", "mp_carentan", "mp_harbor"}},
        {GameKind::CoD2, "fdir maps/mp*.d3dbsp", codLines, {"mp_dawnville"}},
        {GameKind::CoD4, "fdir *map_mp*.iwi", cod4Lines, {"mp_backlot"}},
        {GameKind::UrbanTerror, "fdir maps/ut4*.bsp", "maps/ut4_abbey.bsp\nmaps/mp/ut4_x.bsp\nut4_y.bsp\n",
         {"ut4_abbey", "mp/ut4_x"}},
    };
    for (const auto& each : cases) {
        const std::optional<ListingFilter::MapListing> map = ListingFilter::mapListingOf(each.kind);
        ASSERT_TRUE(map) << each.command;
        EXPECT_EQ(map->command, each.command);
        EXPECT_EQ(ListingFilter::mapNames(*map, listing(each.lines)), each.maps) << each.command;
    }
    for (GameKind none : {GameKind::ET, GameKind::UT2004, GameKind::Unknown})
        EXPECT_FALSE(ListingFilter::mapListingOf(none).has_value());

    // Configuration lines start with a slash, and the server's own ones are left out.
    EXPECT_EQ(ListingFilter::configCommand(), "fdir /[a-z]*.cfg");
    const QString lines = QStringLiteral("/server.cfg\n/config_mp_server.cfg\n/uoconfig_mp_server.cfg\n/.cie.cfg.swp\n"
                                         "/language.cfg\nserver.cfg\n/sd.cfg\n/server.cfg\n /x.cfg\n");
    EXPECT_EQ(ListingFilter::configNames(listing(lines)), QStringList({"server.cfg", "sd.cfg", "server.cfg"}));
    EXPECT_TRUE(ListingFilter::configNames(QStringLiteral("Error: Unable to receive server response")).isEmpty());
}
