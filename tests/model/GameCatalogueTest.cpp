#include "model/GameCatalogue.h"

#include "support/LogCapture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct UserFile {
    QTemporaryDir folder;
    QString path = folder.filePath("games.json");

    void write(const QByteArray& bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

QStringList idsOf(const GameCatalogue& catalogue)
{
    QStringList ids;
    for (const GameDescription& game : catalogue.games())
        ids.append(game.id);
    return ids;
}

const QStringList builtInIds = {"cod", "uo", "cod2", "cod4", "urt", "quake3", "openarena", "xonotic", "nexuiz"};

}  // namespace

TEST(GameCatalogueTest, aMissingUserFileLeavesTheBuiltInGames)
{
    const UserFile user;
    const GameCatalogue catalogue = GameCatalogue::load(user.path);
    EXPECT_EQ(idsOf(catalogue), builtInIds);
    EXPECT_EQ(catalogue.userFileProblem(), QString());
}

TEST(GameCatalogueTest, aBrokenUserFileIsReportedOnceAndLeftAside)
{
    for (const QByteArray& broken : {QByteArray("{\"games\": [{\"id\": \"cod\", \"masters\": 5}]}"), QByteArray("\xff\xfe"),
                                     QByteArray("{\"games\": [{\"id\": \"new\"}]}")}) {
        const UserFile user;
        user.write(broken);
        LogCapture log;
        const GameCatalogue catalogue = GameCatalogue::load(user.path);
        EXPECT_EQ(idsOf(catalogue), builtInIds);
        EXPECT_TRUE(catalogue.userFileProblem().startsWith(user.path + " was left aside, the built-in games are used: "))
            << catalogue.userFileProblem().toStdString();
        EXPECT_EQ(log.lines().count(catalogue.userFileProblem()), 1);
    }
}

TEST(GameCatalogueTest, aUserFileAddsAndChangesGamesById)
{
    const UserFile user;
    user.write(R"({"games": [{"id": "xonotic", "launchers": ["my-xonotic"]},
                             {"id": "wop", "name": "World of Padman", "gameNames": ["wop"]}]})");
    const GameCatalogue catalogue = GameCatalogue::load(user.path);
    EXPECT_EQ(idsOf(catalogue), builtInIds + QStringList{"wop"});
    EXPECT_EQ(catalogue.find("xonotic")->launchers, QStringList({"my-xonotic"}));
    EXPECT_EQ(catalogue.find("xonotic")->name, "Xonotic");
    EXPECT_EQ(catalogue.find("nothing"), nullptr);
}

TEST(GameCatalogueTest, theSeedsGamesAreRecognisedAsBeforeAndNewOnesByTheirRules)
{
    const UserFile user;
    user.write(R"({"games": [{"id": "claimer", "name": "Claims others", "gameNames": ["etpro", "Call of Duty"]},
                             {"id": "keyed", "name": "By keys", "recognitionKeys": {"sv_mod": "keyed", "version": ""}}]})");
    const GameCatalogue catalogue = GameCatalogue::load(user.path);
    const auto idOf = [&catalogue](const QString& gameName, const ServerRules& rules = {}) {
        const GameDescription* game = catalogue.gameOf(gameName, rules);
        return game ? game->id : QStringLiteral("(none)");
    };
    EXPECT_EQ(idOf("Call of Duty"), "cod");
    EXPECT_EQ(idOf("CoD:United Offensive"), "uo");
    EXPECT_EQ(idOf("Call of Duty 4"), "cod4");
    EXPECT_EQ(idOf("q3ut4"), "urt");
    EXPECT_EQ(idOf("call of duty"), "(none)");
    // The seed decides Enemy Territory and UT2004 servers; the catalogue has no entry.
    EXPECT_EQ(idOf("etpro"), "(none)");
    EXPECT_EQ(idOf("UT2004"), "(none)");
    EXPECT_EQ(idOf("Xonotic"), "xonotic");
    EXPECT_EQ(idOf("baseoa"), "openarena");
    EXPECT_EQ(idOf("", {{"version", "1.0"}, {"sv_mod", "keyed"}}), "keyed");
    EXPECT_EQ(idOf("", {{"sv_mod", "keyed"}}), "(none)");
    EXPECT_EQ(idOf("", {{"version", "1.0"}, {"sv_mod", "other"}}), "(none)");
}
