#include "admin/ConfigForRotation.h"

#include <gtest/gtest.h>

TEST(ConfigForRotationTest, aCutOrDamagedStoreIsRefusedWhole)
{
    const ConfigForRotation config("Config 1", {{"mp_carentan", "sd"}, {"mp_brecourt", "tdm"}});
    const QByteArray data = ConfigForRotation::archiveList({config, ConfigForRotation("night", {})});
    ASSERT_EQ(ConfigForRotation::unarchiveList(data).value().size(), 2);
    for (qsizetype cut = 0; cut < data.size(); ++cut)
        EXPECT_FALSE(ConfigForRotation::unarchiveList(data.left(cut)).has_value()) << cut;
    EXPECT_FALSE(ConfigForRotation::unarchiveList(data + '\0').has_value());
    EXPECT_FALSE(ConfigForRotation::unarchiveList(QByteArray("\0\0\0\1\xff\xff\xff\xfe\x7f\xff\xff\xff", 12)));
}
