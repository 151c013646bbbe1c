#include "MainWindowFixture.h"

#include "app/PasswordWindow.h"
#include "finders/ServerFinder.h"
#include "peers/GameServerPeer.h"
#include "platform/Preferences.h"
#include "support/UserInput.h"

#include "ui_PasswordWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>

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

TEST_F(QuakeFamily, eachServerShowsItsGamesIconAndTheTeamColumnShowsWhileTheSelectedServerTellsTeams)
{
    GameServerPeer teamless;
    teamless.setStatusAnswer({GameServerPeer::statusDatagram("\\gamename\\baseoa\\sv_hostname\\Arena\n3 40 \"Sarge\"\n")});
    peer.setStatusAnswer({GameServerPeer::statusDatagram(
        "\\gamename\\Nexuiz\\hostname\\^1Nex^x0f0Team\n5 20 1 \"^x00fBlue^7Bob\"\n-666 1 0 \"Spec\"\n")});
    startWith({server({}, address()), server({}, QString::fromLatin1(teamless.address()))});

    select(0);
    EXPECT_EQ(cell(favourites(), 0, "Name").toString(), "NexTeam");
    // The game's own icon, drawn for it by its catalogue id.
    const QImage icon = cell(favourites(), 0, "", Qt::DecorationRole).value<QPixmap>().toImage();
    EXPECT_EQ(icon, QImage(":/images/games/nexuiz.png").convertToFormat(icon.format()));
    EXPECT_EQ(headers(), QStringList({"Player", "Score", "Ping", "Team"}));
    EXPECT_EQ(cell(players(), 0, "Player").toString(), "BlueBob");
    EXPECT_EQ(cell(players(), 0, "Team").toString(), "1");
    EXPECT_EQ(cell(players(), 1, "Team").toString(), "0");

    select(1);
    EXPECT_EQ(cell(favourites(), 1, "Name").toString(), "Arena");
    EXPECT_FALSE(cell(favourites(), 1, "", Qt::DecorationRole).value<QPixmap>().isNull()) << "OpenArena's";
    EXPECT_EQ(headers(), QStringList({"Player", "Score", "Ping"}));
}

TEST_F(QuakeFamily, aServerOfAnInstalledGameOfTheFamilyIsJoinedThroughItsLauncher)
{
    desktop->installApplication("xonotic", "/usr/games/xonotic-glx");
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\gamename\\Xonotic\\hostname\\Xon\\g_needpass\\1\n")});
    GameServerPeer nexuiz;
    nexuiz.setStatusAnswer({GameServerPeer::statusDatagram("\\gamename\\Nexuiz\\hostname\\Nex\n")});
    startWith({server({}, address()), server({}, QString::fromLatin1(nexuiz.address()))});

    select(1);
    EXPECT_FALSE(isEnabled("goToServerButton")) << "Nexuiz is not installed";
    EXPECT_EQ(tipText(control<QPushButton>("goToServerButton").toolTip()),
              "No launcher for Nexuiz found on PATH: see the README");

    select(0);
    ASSERT_TRUE(isEnabled("goToServerButton"));
    // The server wants a join password: the sheet asks for it first.
    clickButton("goToServerButton");
    const Ui::PasswordWindow& sheet = window->passwordWindow().controls();
    ASSERT_TRUE(window->passwordWindow().isVisible());
    UserInput::typeInto(*sheet.pPassword, "let me in");
    sheet.okButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, "/usr/games/xonotic-glx");
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+password", "let me in", "+connect", address()}));
    EXPECT_EQ(outcome(), "Joining Xon");
}

// Loopback stands in for the local network: the broadcast address is 127.0.0.1, and a
// simulated Nexuiz server listens on the last of its game's default ports.
TEST_F(QuakeFamily, findServersOnThisNetworkListsWhatAnswersUnderLocalNetwork)
{
    std::unique_ptr<GameServerPeer> onDefaultPort;
    try {
        onDefaultPort = std::make_unique<GameServerPeer>(26003);
    } catch (const std::exception&) {
        GTEST_SKIP() << "port 26003 of 127.0.0.1 is taken";
    }
    onDefaultPort->setInfoAnswer("\\hostname\\LAN party\\gamename\\Nexuiz");
    onDefaultPort->setStatusAnswer(
        {GameServerPeer::statusDatagram("\\gamename\\Nexuiz\\hostname\\^1LAN^x0f0 party\\mapname\\ruiner\n"
                                        "3 40 \"Gamer\"\n")});
    Preferences::standard().setObject(QStringLiteral("127.0.0.1"), QStringLiteral("LAN Broadcast Address"));
    startWith({});

    QMenu* serverMenu = nullptr;
    for (QObject* holder : window->findChild<QAction*>(QStringLiteral("findLanServers"))->associatedObjects())
        serverMenu = serverMenu ? serverMenu : qobject_cast<QMenu*>(holder);
    ASSERT_NE(serverMenu, nullptr);
    serverMenu->popup(window->geometry().center());
    ASSERT_TRUE(UserInput::chooseFromMenu(*serverMenu, QStringLiteral("findLanServers")));
    waitForWindowExchanges();

    ServerFinder* finder = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        finder = finder ? finder : qobject_cast<ServerFinder*>(widget);
    ASSERT_NE(finder, nullptr);
    EXPECT_TRUE(finder->findChild<QRadioButton*>(QStringLiteral("localNetworkButton"))->isChecked());
    ASSERT_EQ(finder->theServers().size(), 1);
    EXPECT_EQ(finder->theServers().first()->serverName(), "LAN party");
    EXPECT_EQ(finder->theServers().first()->serverIp(), "127.0.0.1:26003");
    EXPECT_EQ(outcome(), "Found 1 server on this network");
}
