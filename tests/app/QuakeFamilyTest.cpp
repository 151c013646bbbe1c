#include "MainWindowFixture.h"

#include "peers/GameServerPeer.h"
#include "platform/Preferences.h"

#include <QHeaderView>

namespace {

// Favourites of the Quake 3 family's games as the main window shows them.
class QuakeFamily : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        peer.setRconPassword("secret");
        Preferences::standard().setObject(true, QStringLiteral("Refresh server when selected"));
    }

    QTableView& players() const { return control<QTableView>("tableViewPlayers"); }
    QStringList headers() const
    {
        QStringList shown;
        for (int column = 0; column < players().model()->columnCount(); ++column) {
            if (!players().isColumnHidden(column))
                shown.append(players().model()->headerData(column, Qt::Horizontal).toString());
        }
        return shown;
    }
    QString address() const { return QString::fromLatin1(peer.address()); }

    GameServerPeer peer;
};

}  // namespace

TEST_F(QuakeFamily, theTeamColumnShowsWhileTheSelectedServerTellsTeams)
{
    GameServerPeer teamless;
    teamless.setStatusAnswer({GameServerPeer::statusDatagram("\\gamename\\baseoa\\sv_hostname\\Arena\n3 40 \"Sarge\"\n")});
    peer.setStatusAnswer({GameServerPeer::statusDatagram(
        "\\gamename\\Nexuiz\\hostname\\^1Nex^x0f0Team\n5 20 1 \"^x00fBlue^7Bob\"\n-666 1 0 \"Spec\"\n")});
    startWith({server({}, address()), server({}, QString::fromLatin1(teamless.address()))});

    select(0);
    EXPECT_EQ(cell(favourites(), 0, "Name").toString(), "NexTeam");
    EXPECT_EQ(headers(), QStringList({"Player", "Score", "Ping", "Team"}));
    EXPECT_EQ(cell(players(), 0, "Player").toString(), "BlueBob");
    EXPECT_EQ(cell(players(), 0, "Team").toString(), "1");
    EXPECT_EQ(cell(players(), 1, "Team").toString(), "0");

    select(1);
    EXPECT_EQ(cell(favourites(), 1, "Name").toString(), "Arena");
    EXPECT_EQ(headers(), QStringList({"Player", "Score", "Ping"}));
}
