#include "ListedServer.h"

#include "admin/GameRotation.h"
#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "model/ServerArchive.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using Commands = QList<QByteArray>;

constexpr std::chrono::milliseconds latency(30);
const QString notInTheListing = QStringLiteral("Player is not in the status response, try to kick by name with option key !");

// A Call of Duty 4 listing: a GUID column before the names, right-aligned slots, and
// a name that is part of a later row.
const QByteArray cod4Listing = "map: mp_crash\n"
                               "num score ping guid                             name            lastmsg address"
                               "               qport rate\n"
                               "--- ----- ---- -------------------------------- --------------- ------- ----------"
                               "----------- ----- -----\n"
                               "  3     5   48 0123456789abcdef0123456789abcdef e^7                   0 10.0.0.5:28960"
                               "        1234 25000\n"
                               " 12    -2  999 fedcba9876543210fedcba9876543210 ^1St^7eve^7           50 10.0.0.6:28960"
                               "        4321 25000\n"
                               "  7     0   60 00000000000000000000000000000000 Big Joe^7              0 10.0.0.7:28960"
                               "        1111 25000\n"
                               "\n";

CodPlayerPtr player(const QString& colouredName)
{
    return std::make_shared<const CodPlayer>(
        CodPlayer::Fields{.name = CodServer::clearColoredName(colouredName), .colouredName = colouredName});
}

// The real main window over three favourites with the rcon password: Alpha and Bravo
// are simulated Call of Duty servers that were refreshed, Charlie never was. Alpha is
// selected, so its drawer is open.
class ZorvelConsoleTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        TestPreferences::setTimeout(200000);
        Preferences::standard().setObject(QStringLiteral("30 ms"), QStringLiteral("Latency for double command"));
        alerts = &RecordingAlerts::install();
        RecordingDesktop::install();
        QList<CodServerPtr> favourites;
        for (const QString& name : {QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie")}) {
            favourites.append(CodServer::create());
            favourites.last()->setServerName(name);
            favourites.last()->setServerIp(QStringLiteral("127.0.0.1:1"));
            favourites.last()->setServerPass(QStringLiteral("secret"));
        }
        Preferences::standard().setObject(ServerArchive::archiveServerList(favourites), QStringLiteral("myServers"));
        controller = std::make_unique<Zorvel>();
        window = std::make_unique<MainWindow>(*controller);
        window->show();
        alpha = std::make_unique<ListedServer>(QStringList{"mp_crash"}, controller->myServers().at(0));
        bravo = std::make_unique<ListedServer>(QStringList{"mp_dawnville"}, controller->myServers().at(1));
        // Selecting a favourite one administers refreshes it; the simulated servers
        // do not answer that query, so the state the tests need is set after it.
        selectFavourite(0);
        alpha->peer.setRconAnswer("status", {GameServerPeer::printDatagram(cod4Listing)});
        alpha->server->setServerGameName(QStringLiteral("Call of Duty"));
        alpha->server->setServerPlayers({player("e"), player("^1St^7eve"), player("Big Joe")});
        controller->updateUI();
    }

    template <class Widget>
    Widget& control(const char* name) const
    {
        return *window->findChild<Widget*>(QString::fromLatin1(name));
    }
    static GameRotation* rotationEditor()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<GameRotation*>(widget))
                return found;
        return nullptr;
    }
    void click(const char* button) const { control<QPushButton>(button).click(); }
    void clickWithAlt(const char* button) const
    {
        QTest::keyPress(window->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        click(button);
        QTest::keyRelease(window->windowHandle(), Qt::Key_Alt);
    }
    void selectFavourite(int row) const { control<QTableView>("tableViewServers").selectRow(row); }
    void selectPlayer(int row) const { control<QTableView>("tableViewPlayers").selectRow(row); }
    void type(const char* field, const QString& text) const { control<QLineEdit>(field).setText(text); }
    // Gives every timer of the latest command a chance to fire.
    static void waitOutTheLatency() { QTest::qWait(int(4 * latency.count())); }

    RecordingAlerts* alerts = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ListedServer> alpha;
    std::unique_ptr<ListedServer> bravo;
};

}  // namespace

TEST_F(ZorvelConsoleTest, eachButtonSendsItsCommandVerbatim)
{
    click("restartButton");
    click("nextMapButton");
    alpha->server->setServerGameName(QStringLiteral("Call of Duty 2"));
    click("restartButton");
    alpha->server->setServerGameName(QStringLiteral("q3ut4"));
    click("nextMapButton");
    click("restartButton");

    type("sayAndRconField", QStringLiteral("hello ^1all"));
    click("sayButton");
    type("sayAndRconField", QStringLiteral("g_speed 320"));
    click("rconButton");
    type("newPassword", QStringLiteral("open sesame"));
    click("setNewServerPasswordButton");
    QComboBox& files = control<QComboBox>("execComboBox");
    files.addItems({"dm.cfg", "server.cfg"});
    files.setCurrentIndex(1);
    click("execButton");

    alerts->answerNext(Alerts::AlternateButton);
    click("kickAllButton");
    click("kickAllButton");
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().at(0).message, "Do you really want to kick all players?");

    EXPECT_EQ(alpha->commands(), Commands({"map_restart", "map_rotate", "fast_restart", "cyclemap",
                                           "map_restart", "say hello ^1all", "g_speed 320",
                                           "g_password \"open sesame\"", "exec server.cfg", "kick all"}));
}

TEST_F(ZorvelConsoleTest, changeMapSendsTheMapALatencyAfterTheGametypeToTheSameServer)
{
    control<QComboBox>("mapListComboBox").setEditText("mp_strike");
    control<QComboBox>("gametypeListComboBox").setEditText("war");
    click("changeMapButton");
    selectFavourite(1);
    alpha->waitForCommands(2);
    const QList<UdpPeer::Received> received = alpha->commandsReceived();
    EXPECT_EQ(alpha->commands(), Commands({"g_gametype war", "map mp_strike"}));
    EXPECT_GE(received.at(1).at - received.at(0).at, latency);
    EXPECT_TRUE(bravo->commands().isEmpty()) << "a selection made meanwhile does not take the map change";

    selectFavourite(2);
    click("changeMapButton");
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().at(0).message, "You must refresh the server before use");
    waitOutTheLatency();
    EXPECT_EQ(alpha->commands().size() + bravo->commands().size(), 2);
}

TEST_F(ZorvelConsoleTest, kickAndBanBySlotTakeThePlayersOwnRightAlignedSlotAtMultiplesOfTheLatency)
{
    struct Sanction {
        int player;
        const char* button;
        const char* banLength;
        Commands sent;
    };
    const QList<Sanction> sanctions = {
        {0, "kickButton", "", {"status", "clientKick 3"}},
        {1, "kickButton", "", {"status", "clientKick 12"}},
        {1, "banButton", "banThirtyMinutesButton", {"status", "sv_kickBanTime 1800", "tempBanClient 12"}},
        {2, "banButton", "banForeverButton", {"status", "clientBan 7"}},
    };
    qsizetype taken = 0;
    for (const Sanction& sanction : sanctions) {
        selectPlayer(sanction.player);
        if (*sanction.banLength)
            control<QRadioButton>(sanction.banLength).setChecked(true);
        click(sanction.button);
        alpha->waitForCommands(int(taken + sanction.sent.size()));
        const QList<UdpPeer::Received> received = alpha->commandsReceived().mid(taken);
        taken += sanction.sent.size();
        ASSERT_EQ(received.size(), sanction.sent.size());
        for (int i = 0; i < received.size(); ++i) {
            EXPECT_EQ(received.at(i).datagram, sanction.sent.at(i));
            EXPECT_GE(received.at(i).at - received.at(0).at, i * latency) << sanction.sent.at(i).constData();
        }
    }
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(ZorvelConsoleTest, withAltTheyGoByTheColouredNameUnlessTheServerWouldReadItCut)
{
    selectPlayer(1);
    clickWithAlt("kickButton");
    selectPlayer(1);
    clickWithAlt("banButton");
    selectPlayer(1);
    control<QRadioButton>("banTenMinutesButton").setChecked(true);
    clickWithAlt("banButton");
    alpha->waitForCommands(4);
    const QList<UdpPeer::Received> received = alpha->commandsReceived();
    EXPECT_EQ(alpha->commands(),
              Commands({"kick ^1St^7eve", "banUser ^1St^7eve", "sv_kickBanTime 600", "tempBanUser ^1St^7eve"}));
    EXPECT_GE(received.at(3).at - received.at(2).at, latency);

    selectPlayer(2);
    clickWithAlt("kickButton");
    selectPlayer(2);
    clickWithAlt("banButton");
    waitOutTheLatency();
    EXPECT_EQ(alpha->commands().size(), 4) << "nothing of a command naming \"Big Joe\" is sent";
    EXPECT_EQ(alerts->shown().size(), 2);
}

TEST_F(ZorvelConsoleTest, aPlayerTheListingDoesNotNameIsNeitherKickedNorBanned)
{
    click("kickButton");
    click("banButton");
    EXPECT_EQ(alerts->beeps(), 2);
    EXPECT_TRUE(alpha->commands().isEmpty());

    // A refresh on another thread left fewer players than the table shows.
    selectPlayer(2);
    alpha->server->setServerPlayers({player("e")});
    click("kickButton");
    EXPECT_EQ(alerts->beeps(), 3);

    const auto kickWithListing = [this](const QString& name, const QByteArray& listing) {
        alpha->server->setServerPlayers({player(name)});
        alpha->peer.setRconAnswer("status", {GameServerPeer::printDatagram(listing)});
        controller->updateUI();
        selectPlayer(0);
        click("kickButton");
    };
    kickWithListing(QStringLiteral("Nobody"), cod4Listing);
    // Cut short after the titles: the name is only a column title.
    kickWithListing(QStringLiteral("name"), cod4Listing.left(cod4Listing.indexOf("---")));
    kickWithListing(QStringLiteral("Joe"), "map: mp_crash\n  1 0 5 Joe^7 0 a 1 1\n  2 0 5 Joe Black^7 0 b 1 1\n\n");
    alpha->server->setServerPlayers({player("Nobody")});
    controller->updateUI();
    selectPlayer(0);
    click("banButton");
    ASSERT_EQ(alerts->shown().size(), 4);
    for (int i : {0, 1, 3})
        EXPECT_EQ(alerts->shown().at(i).message, notInTheListing);
    EXPECT_TRUE(alerts->shown().at(2).message.startsWith("Several players of the status response have this name"));

    alpha->peer.setSilent(true);
    selectPlayer(0);
    click("banButton");
    EXPECT_EQ(alerts->beeps(), 4) << "an error text is no listing";
    waitOutTheLatency();
    EXPECT_EQ(alpha->commands(), Commands(5, "status"));
}

TEST_F(ZorvelConsoleTest, theRotationEditorFollowsTheSelectedServerAndRefusesOneNeverRefreshed)
{
    click("createGameRotationButton");
    GameRotation* opened = rotationEditor();
    ASSERT_NE(opened, nullptr);
    opened->close();

    selectFavourite(1);
    click("createGameRotationButton");
    EXPECT_EQ(rotationEditor(), opened);
    const QAbstractItemModel& maps = *opened->findChild<QTableView*>("tableAvailableMaps")->model();
    EXPECT_EQ(maps.rowCount(), 1);
    EXPECT_EQ(maps.index(0, 0).data().toString(), "mp_dawnville");
    opened->close();

    selectFavourite(2);
    click("createGameRotationButton");
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().at(0).message, "You must refresh the server before use");
    EXPECT_FALSE(opened->isVisible());
    EXPECT_TRUE(alpha->commands().isEmpty() && bravo->commands().isEmpty());
}
