#include "admin/ConfigForRotation.h"

#include <gtest/gtest.h>

TEST(ConfigForRotationTest, storedListsComeBackInOrderAndDamageIsRefused)
{
    const QList<ConfigForRotation> configs = {
        ConfigForRotation("Config 1", {{"mp_carentan", "sd"}, {"mp_brecourt", "tdm"}}),
        ConfigForRotation("night", {}),
        ConfigForRotation(),
    };
    const QByteArray data = ConfigForRotation::archiveList(configs);
    const auto restored = ConfigForRotation::unarchiveList(data);
    ASSERT_TRUE(restored.has_value());
    ASSERT_EQ(restored->size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(restored->at(i).configName(), configs.at(i).configName());
        EXPECT_EQ(restored->at(i).theMapForRotation(), configs.at(i).theMapForRotation());
    }
    EXPECT_EQ(restored->at(2).theMapForRotation(), QList<MapForRotation>{MapForRotation("Map", "Gametype")});

    for (qsizetype cut = 0; cut < data.size(); ++cut)
        EXPECT_FALSE(ConfigForRotation::unarchiveList(data.left(cut)).has_value()) << cut;
    EXPECT_FALSE(ConfigForRotation::unarchiveList(data + '\0').has_value());
    EXPECT_FALSE(ConfigForRotation::unarchiveList(QByteArray("\0\0\0\1\xff\xff\xff\xfe\x7f\xff\xff\xff", 12)));
    EXPECT_TRUE(ConfigForRotation::unarchiveList(ConfigForRotation::archiveList({}))->isEmpty());
}
