#include "admin/SavedConfigs.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString myConfigs = QStringLiteral("myConfigs");
const QList<MapForRotation> night = {{"mp_carentan", "sd"}, {"mp_brecourt", "tdm"}};
const QList<MapForRotation> day = {{"mp_dawnville", "dm"}};

QStringList storedNames()
{
    const std::optional<QList<ConfigForRotation>> stored =
        ConfigForRotation::unarchiveList(Preferences::standard().dataForKey(myConfigs));
    QStringList names;
    for (const ConfigForRotation& config : stored.value())
        names.append(config.configName());
    return names;
}

class SavedConfigsTest : public testing::Test {
protected:
    void SetUp() override { TestPreferences::installFresh(); }
};

}  // namespace

TEST_F(SavedConfigsTest, namesAreExactGeneratedOnesTakeTheFirstFreeNumberAndAllSurviveARestart)
{
    EXPECT_EQ(SavedConfigs::generatedName({"Config 1", "Config 3"}), "Config 2");
    EXPECT_EQ(SavedConfigs::generatedName({"config 1", "Config 2"}), "Config 1");
    {
        SavedConfigs configs;
        EXPECT_FALSE(configs.save("empty", {}));
        EXPECT_FALSE(Preferences::standard().objectForKey(myConfigs).isValid());
        for (const char* name : {"Config 1", "Night", "night", "Config 3", "gone"})
            ASSERT_TRUE(configs.save(name, night));
        ASSERT_TRUE(configs.save("", day));
        ASSERT_TRUE(configs.save("Night", day));
        EXPECT_TRUE(configs.remove("gone"));
        EXPECT_FALSE(configs.remove("gone"));
        EXPECT_FALSE(configs.recall("NIGHT").has_value());
    }
    SavedConfigs restarted;
    EXPECT_EQ(restarted.names(), QStringList({"Config 1", "Night", "night", "Config 3", "Config 2"}));
    EXPECT_EQ(storedNames(), restarted.names());
    EXPECT_EQ(restarted.recall("Night"), day);
    EXPECT_EQ(restarted.recall("night"), night);
    EXPECT_EQ(restarted.recall("Config 2"), day);
}

TEST_F(SavedConfigsTest, aDamagedOrShrunkStoreIsNeitherReadNorWrittenPastItsEndAndCopiedBeforeASave)
{
    const RecordingAlerts& alerts = RecordingAlerts::install();
    const QByteArray damaged("\0\0\0\3garbage", 11);
    Preferences::standard().setObject(damaged, myConfigs);
    SavedConfigs configs;
    EXPECT_TRUE(configs.names().isEmpty());
    EXPECT_FALSE(configs.remove("Config 1"));
    EXPECT_EQ(Preferences::standard().dataForKey(myConfigs), damaged);

    // The first save keeps the damaged value in a file of its own and says where.
    ASSERT_TRUE(configs.save("", night));
    ASSERT_EQ(alerts.shown().size(), 1);
    const QString told = alerts.shown().first().message;
    QFile copy(told.mid(told.indexOf(u'/')).chopped(1));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << told.toStdString();
    EXPECT_EQ(copy.readAll(), damaged);
    ASSERT_TRUE(configs.save("second", day));
    EXPECT_EQ(alerts.shown().size(), 1);
    Preferences::standard().setObject(ConfigForRotation::archiveList({ConfigForRotation("Config 1", night)}),
                                      myConfigs);
    EXPECT_FALSE(configs.recall("second").has_value());
    EXPECT_FALSE(configs.save("second", night));
    EXPECT_FALSE(configs.remove("second"));
    EXPECT_EQ(storedNames(), QStringList({"Config 1"}));
}

TEST_F(SavedConfigsTest, aFailedWriteIsToldAndChangesNoName)
{
    const RecordingAlerts& alerts = RecordingAlerts::install();
    TestPreferences::installUnwritable();
    SavedConfigs configs;
    EXPECT_FALSE(configs.save("Night", night));
    EXPECT_TRUE(configs.names().isEmpty());
    ASSERT_EQ(alerts.shown().size(), 1);
    EXPECT_EQ(alerts.shown().first().title, "Game Rotation");
}
