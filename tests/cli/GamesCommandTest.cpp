#include "ZorvelCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

void writeUserCatalogue(const ZorvelCommand& zorvel, const QByteArray& json)
{
    QDir().mkpath(QFileInfo(zorvel.settingsFile()).path());
    QFile file(QFileInfo(zorvel.settingsFile()).dir().filePath("games.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(json);
}

}  // namespace

TEST(GamesCommandTest, theCatalogueIsListedWithEveryMasterAndProtocolInTheOrderAScanAsksThem)
{
    const ZorvelCommand zorvel;
    const ZorvelCommand::Result text = zorvel.run({"games"});
    EXPECT_EQ(text.status, 0);
    const QList<QByteArray> lines = text.output.split('\n');
    EXPECT_EQ(lines.at(0), "cod        Call of Duty      codmaster.activision.com:20510  protocol 6");
    EXPECT_EQ(lines.at(1), "  udp://codmaster.activision.com:20510  protocols 6 5 4 2 1");
    EXPECT_TRUE(text.output.contains("\n  tcp://cod4master.cod4x.ovh:20810  protocols 6\n")) << text.output.toStdString();
    EXPECT_TRUE(text.output.contains("\nopenarena  OpenArena         dpmaster.deathmask.net:27950  protocol 71\n"));

    const QList<QJsonObject> games = zorvel.run({"games", "--json"}).jsonLines();
    QStringList ids;
    for (const QJsonObject& game : games)
        ids.append(game.value("game").toString());
    EXPECT_EQ(ids, QStringList({"cod", "uo", "cod2", "cod4", "urt", "quake3", "openarena", "xonotic", "nexuiz"}));
    const QJsonObject& cod4 = games.at(3);
    EXPECT_EQ(cod4.value("master").toString(), "cod4master.activision.com:20810");
    EXPECT_EQ(cod4.value("protocol").toString(), "4") << "the stored protocol, as before";
    const QJsonArray masters = cod4.value("masters").toArray();
    ASSERT_EQ(masters.size(), 6);
    EXPECT_EQ(masters.at(4).toObject().value("master").toString(), "tcp://cod4master.cod4x.ovh:20810");
    EXPECT_EQ(masters.at(4).toObject().value("protocol").toInt(), 6);
}

TEST(GamesCommandTest, theUsersCatalogueAddsItsGamesAndABrokenOneIsToldAndLeftAside)
{
    const ZorvelCommand zorvel;
    writeUserCatalogue(zorvel, R"({"games": [{"id": "wop", "name": "World of Padman",
                                   "masters": [{"host": "127.0.0.1", "port": 27955, "protocols": [71]}]}]})");
    const ZorvelCommand::Result added = zorvel.run({"games"});
    EXPECT_EQ(added.status, 0);
    EXPECT_TRUE(added.output.endsWith("wop        World of Padman   127.0.0.1:27955  protocol 71\n"
                                      "  udp://127.0.0.1:27955  protocols 71\n"))
        << added.output.toStdString();
    EXPECT_EQ(added.error, "");

    writeUserCatalogue(zorvel, R"({"games": [{"id": "wop", "name": "World of Padman", "masters": [{"port": 1}]}]})");
    const ZorvelCommand::Result broken = zorvel.run({"games"});
    EXPECT_EQ(broken.status, 0);
    EXPECT_FALSE(broken.output.contains("wop"));
    EXPECT_TRUE(broken.output.contains("nexuiz"));
    EXPECT_TRUE(broken.error.contains("games.json was left aside, the built-in games are used: "
                                      "game \"wop\".masters[0].host: expected a host name or address"))
        << broken.error.toStdString();
    EXPECT_EQ(broken.error.count('\n'), 1) << "told once";
}
