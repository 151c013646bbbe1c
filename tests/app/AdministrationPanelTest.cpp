#include "MainWindowFixture.h"

#include "launch/GameApplications.h"
#include "peers/GameServerPeer.h"
#include "support/UserInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

void setAnswered(CodServer& server, const QString& gameName)
{
    server.setCommError(CodServer::Answered);
    server.setServerGameName(gameName);
}

}  // namespace

class AdministrationPanel : public MainWindowFixture {
protected:
    bool drawerIsOpen() const { return !control<QDockWidget>("rconDrawer").isHidden(); }
    QStringList itemsOf(const char* comboName) const
    {
        const QComboBox& combo = control<QComboBox>(comboName);
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items.append(combo.itemText(i));
        return items;
    }
    // The Join button's tooltip as the user reads it.
    QString joinTip() const
    {
        return tipText(control<QPushButton>("goToServerButton").toolTip());
    }
};

TEST_F(AdministrationPanel, joiningNeedsAnAnsweredInstalledGameAndTheDrawerOnlyOpensOnAnAdministeredQuakeServer)
{
    desktop->installApplication(GameApplications::urbanTerror, "/usr/games/urbanterror");
    startWith({server("Plain", "10.0.0.1:28960"), server("Admin", nobodyAnswers, "rcon")});
    EXPECT_EQ(joinTip(), "No favourite server selected");
    select(0);
    EXPECT_FALSE(isEnabled("goToServerButton")) << "never answered";
    EXPECT_EQ(joinTip(), "The server's game is not known until it answers a refresh");
    EXPECT_FALSE(drawerIsOpen());
    setAnswered(*favourite(0), "q3ut4");
    redraw();
    EXPECT_TRUE(isEnabled("goToServerButton"));
    EXPECT_TRUE(joinTip().startsWith("Joins the selected favourite"));
    favourite(0)->setServerGameName("Call of Duty 4");
    redraw();
    EXPECT_FALSE(isEnabled("goToServerButton")) << "not installed";
    EXPECT_EQ(joinTip(), "No launcher for Call of Duty 4 found on PATH: see the README");
    favourite(0)->setServerGameName("<b>baseoa</b>");
    redraw();
    EXPECT_EQ(joinTip(), "Zorvel cannot start the game <b>baseoa</b>");

    control<QComboBox>("mapListComboBox").setEditText("typed by hand");
    select(1);
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_TRUE(control<QComboBox>("mapListComboBox").currentText().isEmpty()) << "each drawer starts afresh";
    setAnswered(*favourite(1), "UT2004");
    redraw();
    EXPECT_FALSE(drawerIsOpen());
}

// The drawer offers the gametypes of the administered server's game, for the Quake III
// games as for Call of Duty, and the AWE mod's only where the mod runs.
TEST_F(AdministrationPanel, theGametypesOfferedAreThoseOfTheServersGame)
{
    // Administered, each is refreshed on selection.
    GameServerPeer urban;
    urban.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Urban\\gamename\\q3ut4\\g_gametype\\4\n")});
    GameServerPeer duty;
    duty.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Duty\\gamename\\Call of Duty 2\n")});
    startWith({server("Urban", QString::fromLatin1(urban.address()), "rcon"),
               server("Duty", QString::fromLatin1(duty.address()), "rcon")});
    select(0);
    EXPECT_EQ(control<QComboBox>("gametypeListComboBox").currentText(), "4");
    const QStringList urbanTerror = {"0", "1", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    EXPECT_EQ(itemsOf("gametypeListComboBox"), urbanTerror);
    select(1);
    EXPECT_EQ(itemsOf("gametypeListComboBox"), QStringList({"dm", "tdm", "sd", "ctf", "hq"}));

    QCheckBox& awe = control<QCheckBox>("AWEButton");
    awe.click();
    EXPECT_EQ(itemsOf("gametypeListComboBox").mid(5), QStringList({"actf", "htf", "rsd", "dem", "ad", "lts"}));
    select(0);
    EXPECT_EQ(itemsOf("gametypeListComboBox"), urbanTerror) << "AWE is a mod of Call of Duty";
}

TEST_F(AdministrationPanel, drawerListsTheFilesAndMapsTheServerListsThroughItsConsole)
{
    const auto listing = [](const QByteArray& lines) {
        return GameServerPeer::printDatagram("---------------\n" + lines + "files listed\n");
    };
    GameServerPeer peer;
    peer.setRconPassword("secret");
    peer.setRconAnswer("fdir /[a-z]*.cfg", {listing("/promod.cfg\n/language.cfg\n/public.cfg\n")});
    peer.setRconAnswer("fdir maps/mp*.bsp", {listing("maps/mp/mp_harbor.bsp\nmaps/mp/mp_carentan.bsp\n")});
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Admin\\gamename\\Call of Duty"
                                                         "\\mapname\\mp_carentan\\g_gametype\\tdm\n")});
    startWith({server("Admin", QString::fromLatin1(peer.address()), "secret"),
               server("Other", "10.0.0.3:28960", "secret")});
    // Administered, it is refreshed on selection, which lists its files at once.
    select(0);
    EXPECT_EQ(itemsOf("execComboBox"), QStringList({"promod.cfg", "public.cfg"}));
    EXPECT_EQ(control<QComboBox>("execComboBox").currentIndex(), -1);
    QComboBox& maps = control<QComboBox>("mapListComboBox");
    EXPECT_EQ(maps.currentText(), "mp_carentan");

    UserInput::typeInto(maps, "mp_typed");
    UserInput::pressEnter(maps);
    favourite(0)->mapListRefresh();
    EXPECT_EQ(itemsOf("mapListComboBox"), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(maps.currentText(), "mp_typed");

    // What the administrator types is sent as typed: Enter and moving on add nothing
    // to the lists and put no entry of another case in its place.
    QComboBox& gametypes = control<QComboBox>("gametypeListComboBox");
    const QStringList offered = itemsOf("gametypeListComboBox");
    UserInput::typeInto(maps, "MP_Harbor");
    UserInput::pressEnter(maps);
    UserInput::typeInto(gametypes, "war");
    UserInput::pressEnter(gametypes);
    EXPECT_EQ(maps.currentText(), "MP_Harbor");
    UserInput::typeInto(maps, "mp_h");
    EXPECT_EQ(maps.currentText() + " " + gametypes.currentText(), "mp_h war");
    EXPECT_EQ(itemsOf("mapListComboBox"), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(itemsOf("gametypeListComboBox"), offered);

    controller->updateMapListComboBox(favourite(1));
    EXPECT_EQ(itemsOf("mapListComboBox"), QStringList({"mp_harbor", "mp_carentan"})) << "only the selected's list";
}

TEST_F(AdministrationPanel, theDrawerOpensWithinARoomyWindowLocksNoTallMinimumAndGivesTheConsoleItsSpareHeight)
{
    startWith({server("Admin", nobodyAnswers, "rcon")});
    window->resize(1200, 900);
    QCoreApplication::processEvents();
    select(0);
    ASSERT_TRUE(drawerIsOpen());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(1200, 900)) << "a window with room keeps its size";
    auto& console = control<QPlainTextEdit>("consoleView");
    const int line = console.fontMetrics().lineSpacing();
    EXPECT_GT(console.height(), 12 * line) << "the console takes the height the controls leave";
    EXPECT_LT(window->minimumSizeHint().height(), 620) << "the window can still be as short as it opens";

    console.appendPlainText(QString(400, u'x'));
    EXPECT_FALSE(console.horizontalScrollBar()->isVisible()) << "long lines wrap";
}
