#include "net/GameMasters.h"

#include "app/RegisteredSettings.h"
#include "model/GameCatalogue.h"
#include "platform/Preferences.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

namespace {

const QByteArray header("\xff\xff\xff\xff", 4);

class GameMastersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        RegisteredSettings::registerWithStandardStore();
    }

    static const GameDescription& gameOf(const QString& id)
    {
        static const GameCatalogue builtIn = GameCatalogue::load(QStringLiteral("/nonexistent/games.json"));
        const GameDescription* game = builtIn.find(id);
        if (!game)
            throw std::runtime_error("no game " + id.toStdString());
        return *game;
    }

    static QList<MasterToAsk> mastersOf(const QString& id)
    {
        return GameMasters::mastersToAsk(gameOf(id), Preferences::standard());
    }

    // The master at 127.0.0.1:5000 over that transport, as the command line's --master asks it.
    static QList<MasterToAsk> masterAt(const QString& id, MasterDescription::Transport transport)
    {
        const std::optional<MasterToAsk> master =
            GameMasters::masterAt(gameOf(id), transport, QStringLiteral("127.0.0.1"), 5000, Preferences::standard());
        return master ? QList<MasterToAsk>{*master} : QList<MasterToAsk>{};
    }

    // "label request-text" per master, the header taken away.
    static QStringList describe(const QList<MasterToAsk>& masters)
    {
        QStringList lines;
        for (const MasterToAsk& master : masters) {
            EXPECT_TRUE(master.source.request.startsWith(header));
            EXPECT_EQ(master.source.label, master.host + u':' + QString::number(master.source.address.port));
            lines.append(master.source.label + u' ' + QString::fromLatin1(master.source.request.mid(4)));
        }
        return lines;
    }
};

}  // namespace

TEST_F(GameMastersTest, theStoredMasterIsAskedFirstWithTheStoredProtocolThenTheCataloguesMasters)
{
    EXPECT_EQ(describe(mastersOf("cod4")).mid(0, 4), QStringList({
                                                         "cod4master.activision.com:20810 getservers 4 empty full",
                                                         "cod4master.activision.com:20810 getservers 7 empty full",
                                                         "cod4master.activision.com:20810 getservers 6 empty full",
                                                         "cod4master.activision.com:20810 getservers 1 empty full",
                                                     }));
    const QList<MasterToAsk> cod4 = mastersOf("cod4");
    ASSERT_EQ(cod4.size(), 6);
    const MasterToAsk& cod4x = cod4.at(4);
    EXPECT_EQ(cod4x.host, "cod4master.cod4x.ovh");
    EXPECT_EQ(cod4x.source.transport, MasterSource::Transport::Tcp);
    EXPECT_EQ(cod4x.source.request, header + QByteArray("getservers cod4x 6 full empty \0", 31));
    EXPECT_EQ(cod4x.source.entryPrefix, QByteArray("\0\0\0\0\4", 5));
    EXPECT_EQ(cod4x.listEnd, MasterDescription::ListEnd::StreamEnd);
    EXPECT_EQ(cod4.at(0).listEnd, MasterDescription::ListEnd::EndOfTransmissionWithNul);
}

TEST_F(GameMastersTest, aStoredProtocolTheCatalogueAlsoHasIsAskedOnce)
{
    // The stored protocol of Call of Duty is 6, which its master's list begins with.
    EXPECT_EQ(describe(mastersOf("cod")).mid(0, 6), QStringList({
                                                        "codmaster.activision.com:20510 getservers 6 empty full",
                                                        "codmaster.activision.com:20510 getservers 5 empty full",
                                                        "codmaster.activision.com:20510 getservers 4 empty full",
                                                        "codmaster.activision.com:20510 getservers 2 empty full",
                                                        "codmaster.activision.com:20510 getservers 1 empty full",
                                                        "master.cod.pm:20510 getservers 6",
                                                    }));
}

TEST_F(GameMastersTest, aMasterTheUserStoredIsAskedLikeTheGamesFirstMaster)
{
    TestPreferences::pointMaster("UO", 29999);
    Preferences::standard().setObject("", "Masters uo");
    Preferences::standard().setObject("21", "UO Master Server Protocol");
    EXPECT_EQ(describe(mastersOf("uo")), QStringList({
                                             "127.0.0.1:29999 getservers 21 empty full",
                                             "coduomaster.activision.com:20610 getservers 22 empty full",
                                             "coduomaster.activision.com:20610 getservers 21 empty full",
                                         }));

    // A stored master without a host or with a port out of range is left out.
    Preferences::standard().setObject("", "UO Master Server");
    EXPECT_EQ(mastersOf("uo").size(), 2);
}

TEST_F(GameMastersTest, gamesOfSeveralMastersAskWithTheirGameName)
{
    EXPECT_EQ(describe(mastersOf("openarena")),
              QStringList({"dpmaster.deathmask.net:27950 getservers Quake3Arena 71 empty full"}));
    EXPECT_EQ(describe(mastersOf("xonotic")), QStringList({
                                                  "dpmaster.deathmask.net:27950 getservers Xonotic 3 empty full",
                                                  "dpmaster.tchr.no:27950 getservers Xonotic 3 empty full",
                                              }));
    EXPECT_EQ(describe(mastersOf("urt")).first(), "master.urbanterror.info:27900 getservers 68 empty full");
}

// A master named by the user is asked as the game's masters of that transport are:
// their request, game name and framing; the stored protocol for a game of the settings.
TEST_F(GameMastersTest, aMasterAtAnAddressIsAskedAsTheGamesMastersOfItsTransportAre)
{
    using Transport = MasterDescription::Transport;
    Preferences::standard().setObject("117", "CoD2 Master Server Protocol");
    EXPECT_EQ(describe(masterAt("cod2", Transport::Udp)), QStringList{"127.0.0.1:5000 getservers 117 empty full"});
    EXPECT_EQ(describe(masterAt("openarena", Transport::Udp)),
              QStringList{"127.0.0.1:5000 getservers Quake3Arena 71 empty full"});
    EXPECT_TRUE(masterAt("cod2", Transport::Tcp).isEmpty()) << "no TCP masters";

    const QList<MasterToAsk> cod4x = masterAt("cod4", Transport::Tcp);
    ASSERT_EQ(cod4x.size(), 1);
    EXPECT_EQ(cod4x.first().source.transport, MasterSource::Transport::Tcp);
    EXPECT_EQ(cod4x.first().source.request, header + QByteArray("getservers cod4x 6 full empty \0", 31));
    EXPECT_EQ(cod4x.first().source.entryPrefix, QByteArray("\0\0\0\0\4", 5));
    EXPECT_EQ(cod4x.first().source.listEnd, MasterDescription::ListEnd::StreamEnd);
    EXPECT_EQ(masterAt("cod4", Transport::Udp).first().source.listEnd, MasterDescription::ListEnd::EndOfTransmissionWithNul);
}
