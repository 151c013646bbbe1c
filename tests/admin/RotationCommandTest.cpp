#include "admin/RotationCommand.h"
#include "net/QuakeProtocol.h"

#include <gtest/gtest.h>

TEST(RotationCommandTest, sendsTheServersMapsInOrderWithGametypesItsGameOffers)
{
    const QList<MapForRotation> rotation = {
        {"mp_carentan", "sd"}, {"mp_missing", "tdm"}, {"mp_brecourt", "actf"}, {"mp_harbor", "tdm"}};
    const QStringList serverMaps = {"mp_harbor", "mp_brecourt", "mp_carentan"};
    const QList<MapForRotation> sent = RotationCommand::sentEntries(rotation, serverMaps, {"dm", "tdm", "sd"}, "dm");
    EXPECT_EQ(RotationCommand::rotationCommand(sent),
              "set sv_mapRotationCurrent \"gametype sd map mp_carentan gametype dm map mp_brecourt "
              "gametype tdm map mp_harbor \"");
}

TEST(RotationCommandTest, aCommandIsCutOnlyWhenItsRequestPassesTheBuffer)
{
    // Four header bytes, "rcon ", the password, a blank: 16 bytes before the command.
    const QString longestWhole(511 - 16, u'x');
    EXPECT_FALSE(QuakeProtocol::rconRequestIsCut("secret", longestWhole));
    EXPECT_EQ(QuakeProtocol::rconRequest("secret", longestWhole).size(), 511);
    EXPECT_TRUE(QuakeProtocol::rconRequestIsCut("secret", longestWhole + u'x'));
    EXPECT_TRUE(QuakeProtocol::rconRequestIsCut("secret7", longestWhole));
}
