#include "ListedServer.h"

#include "admin/GameRotation.h"
#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "model/ServerArchive.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
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

// Alpha's status answer, naming the players.
QByteArray alphaStatus(const QList<QByteArray>& names)
{
    QByteArray status = "\\sv_hostname\\Alpha\\gamename\\Call of Duty\n";
    for (const QByteArray& name : names)
        status += "0 50 \"" + name + "\"\n";
    return GameServerPeer::statusDatagram(status);
}

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
        // A kick or a ban refreshes the server: it answers with the players as they are.
        alpha->peer.setStatusAnswer({alphaStatus({"e", "^1St^7eve", "Big Joe"})});
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
    // Selects the favourite, which refreshes it when administered, and waits for the
    // refresh to be told.
    void selectFavourite(int row) const
    {
        control<QTableView>("tableViewServers").selectRow(row);
        waitForWindowExchanges();
    }
    void waitForWindowExchanges() const
    {
        while (!controller->windowExchangesIdle())
            QTest::qWait(5);
    }
    void selectPlayer(int row) const { control<QTableView>("tableViewPlayers").selectRow(row); }
    QModelIndexList selectedPlayers() const
    {
        return control<QTableView>("tableViewPlayers").selectionModel()->selectedRows();
    }
    void type(const char* field, const QString& text) const { control<QLineEdit>(field).setText(text); }
    // Gives every timer of the latest command a chance to fire.
    static void waitOutTheLatency() { QTest::qWait(int(4 * latency.count())); }
    // Runs the window's events until every command sent has its answer, or its time-out,
    // and the refreshes that follow them are over.
    void settle() const
    {
        while (!controller->console().idle() || !controller->windowExchangesIdle())
            QTest::qWait(5);
    }
    QString console() const { return control<QPlainTextEdit>("consoleView").toPlainText(); }
    QString statusBarText() const { return control<QLabel>("actionOutcome").text(); }

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

    type("sayField", QStringLiteral("hello ^1all"));
    click("sayButton");
    type("rconField", QStringLiteral("g_speed 320"));
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
    settle();

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
        settle();
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
    settle();
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
        settle();
    };
    kickWithListing(QStringLiteral("Nobody"), cod4Listing);
    // Cut short after the titles: the name is only a column title.
    kickWithListing(QStringLiteral("name"), cod4Listing.left(cod4Listing.indexOf("---")));
    kickWithListing(QStringLiteral("Joe"), "map: mp_crash\n  1 0 5 Joe^7 0 a 1 1\n  2 0 5 Joe Black^7 0 b 1 1\n\n");
    alpha->server->setServerPlayers({player("Nobody")});
    controller->updateUI();
    selectPlayer(0);
    click("banButton");
    settle();
    EXPECT_EQ(statusBarText(), "Nobody is no longer on Alpha");
    ASSERT_EQ(alerts->shown().size(), 1) << "a player who left is told in the status bar";
    EXPECT_EQ(alerts->shown().first().message, "Several players on Alpha have this name: the server cannot tell "
                                               "them apart by slot. Try Kick by name in the player's context menu.");

    alpha->peer.setSilent(true);
    selectPlayer(0);
    click("banButton");
    settle();
    EXPECT_EQ(alerts->beeps(), 4) << "an error text is no listing";
    waitOutTheLatency();
    EXPECT_EQ(alpha->commands(), Commands(5, "status"));
}

TEST_F(ZorvelConsoleTest, kickAndBanActOnThePlayerChosenOnTheSelectedServerAndOnNobodyElse)
{
    // Bravo answers its status with the players, in order, and its console listing
    // with each at a slot other than its row.
    const auto bravoLists = [this](const QList<QByteArray>& names) {
        QByteArray status = "\\sv_hostname\\Bravo\\gamename\\Call of Duty 4\n";
        QByteArray listing = "map: mp_dawnville\nnum score ping name lastmsg address qport rate\n--- ----- ----\n";
        for (const QByteArray& name : names) {
            status += "0 50 \"" + name + "\"\n";
            listing += " " + QByteArray::number(names.indexOf(name) + 5) + " 0 50 " + name + "^7 0 bot 1 1\n";
        }
        bravo->peer.setStatusAnswer({GameServerPeer::statusDatagram(status)});
        bravo->peer.setRconAnswer("status", {GameServerPeer::printDatagram(listing + "\n")});
    };
    QTableView& favourites = control<QTableView>("tableViewServers");
    QTableView& players = control<QTableView>("tableViewPlayers");
    bravoLists({"Zed"});
    UserInput::clickRow(players, 0);
    UserInput::clickRow(favourites, 1);
    waitForWindowExchanges();
    EXPECT_TRUE(selectedPlayers().isEmpty()) << "the choice stays with Alpha's player";
    UserInput::click(control<QPushButton>("kickButton"));
    UserInput::click(control<QPushButton>("banButton"), Qt::AltModifier);
    EXPECT_EQ(alerts->beeps(), 2);

    UserInput::clickRow(players, 0);
    bravoLists({"Yan", "Zed"});
    UserInput::click(control<QPushButton>("refreshServerButton"));
    waitForWindowExchanges();
    ASSERT_EQ(selectedPlayers().size(), 1);
    EXPECT_EQ(selectedPlayers().first().row(), 1) << "the choice follows Zed";
    UserInput::click(control<QPushButton>("kickButton"));
    bravo->waitForCommands(2);

    bravoLists({"Yan"});
    UserInput::click(control<QPushButton>("refreshServerButton"));
    waitForWindowExchanges();
    EXPECT_TRUE(selectedPlayers().isEmpty()) << "Zed left";
    UserInput::click(control<QPushButton>("banButton"));
    UserInput::click(control<QPushButton>("kickButton"), Qt::AltModifier);
    EXPECT_EQ(alerts->beeps(), 4);
    waitOutTheLatency();
    EXPECT_EQ(bravo->commands(), Commands({"status", "clientKick 6"}));
    EXPECT_TRUE(alpha->commands().isEmpty());
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

TEST_F(ZorvelConsoleTest, enterSendsItsFieldAndTheConsoleShowsEachAnswerWithoutColourCodesOrThatNoneCame)
{
    alpha->peer.setRconAnswer("g_speed 320",
                              {GameServerPeer::printDatagram("\"g_speed\" is:\"320^7\" default:\"^1320^7\"\n")});
    QLineEdit& command = control<QLineEdit>("rconField");
    QLineEdit& say = control<QLineEdit>("sayField");
    UserInput::typeInto(command, "g_speed 320");
    UserInput::pressEnter(command);
    EXPECT_TRUE(command.text().isEmpty());
    settle();
    EXPECT_EQ(statusBarText(), "Ran \u201cg_speed 320\u201d on Alpha");

    UserInput::typeInto(say, "hello ^1all");
    UserInput::pressEnter(say);
    EXPECT_FALSE(controller->console().idle()) << "the window goes on while the server keeps silent";
    settle();
    EXPECT_EQ(alpha->commands(), Commands({"g_speed 320", "say hello ^1all"}));
    EXPECT_EQ(statusBarText(), "No answer from Alpha to \u201csay hello ^1all\u201d");
    const QStringList lines = console().split(u'\n');
    ASSERT_EQ(lines.size(), 4) << console().toStdString();
    const QString time = QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] ");
    EXPECT_TRUE(QRegularExpression(time + "Alpha> g_speed 320$").match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "\"g_speed\" is:\"320\" default:\"320\"");
    EXPECT_TRUE(QRegularExpression(time + "Alpha> say hello \\^1all$").match(lines[2]).hasMatch());
    EXPECT_EQ(lines[3], "(no answer)");

    alpha->peer.setRconAnswer("tempBanUser Bob", {GameServerPeer::printDatagram("Unknown command \"tempBanUser\"\n")});
    UserInput::typeInto(command, "tempBanUser Bob");
    UserInput::pressEnter(command);
    settle();
    EXPECT_EQ(statusBarText(), "Alpha does not know the command \u201ctempBanUser Bob\u201d");
}

TEST_F(ZorvelConsoleTest, upAndDownRecallTheCommandsOfThisRunAndGiveBackWhatWasBeingTyped)
{
    QLineEdit& command = control<QLineEdit>("rconField");
    for (const char* sent : {"status", "g_speed 320", "g_speed 320"}) {
        UserInput::typeInto(command, sent);
        UserInput::pressEnter(command);
    }
    UserInput::typeInto(command, "map_re");
    QStringList recalled;
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(&command, key);
        recalled.append(command.text());
    }
    EXPECT_EQ(recalled, QStringList({"g_speed 320", "status", "status", "g_speed 320", "map_re", "map_re"}));

    QLineEdit& say = control<QLineEdit>("sayField");
    UserInput::typeInto(say, "gg");
    UserInput::pressEnter(say);
    QTest::keyClick(&say, Qt::Key_Up);
    EXPECT_EQ(say.text(), "gg") << "what was said is recalled apart from the commands";
    QTest::keyClick(&say, Qt::Key_Up);
    EXPECT_EQ(say.text(), "gg");
    settle();
}

TEST_F(ZorvelConsoleTest, thePlayersContextMenuKicksAndBansByNameWithoutAModifierAndRefusesANameReadCut)
{
    // Long lines, as a real server prints them, bring up the console's horizontal scroll bar.
    const QByteArray longLine = "broadcast: print \"" + QByteArray(200, 'x') + "\"\n";
    alpha->peer.setRconAnswer("kick ^1St^7eve",
                              {GameServerPeer::printDatagram(longLine.repeated(8) + "^1St^7eve^7 was kicked\n")});
    alpha->peer.setRconAnswer("sv_kickBanTime 600", {GameServerPeer::printDatagram("")});
    alpha->peer.setRconAnswer("tempBanUser ^1St^7eve", {GameServerPeer::printDatagram("")});
    alpha->peer.setRconAnswer("clientKick 12", {GameServerPeer::printDatagram("")});
    QTableView& players = control<QTableView>("tableViewPlayers");
    const auto choose = [&](int row, const char* command) {
        const bool chosen = UserInput::chooseFromMenu(UserInput::openContextMenu(players, row), command);
        settle();
        return chosen;
    };

    EXPECT_TRUE(choose(1, "kickPlayerByName"));
    EXPECT_EQ(statusBarText(), "Kicked Steve on Alpha");
    EXPECT_TRUE(console().endsWith("\nSteve was kicked"));
    control<QRadioButton>("banTenMinutesButton").setChecked(true);
    EXPECT_TRUE(choose(1, "banPlayerByName"));
    EXPECT_EQ(statusBarText(), "Banned Steve for 10 minutes on Alpha");
    EXPECT_TRUE(choose(1, "kickPlayer"));
    EXPECT_EQ(statusBarText(), "Kicked Steve (slot 12) on Alpha");
    EXPECT_EQ(alpha->commands(), Commands({"kick ^1St^7eve", "sv_kickBanTime 600", "tempBanUser ^1St^7eve", "status",
                                           "clientKick 12"}));
    const QScrollBar& scroll = *control<QPlainTextEdit>("consoleView").verticalScrollBar();
    EXPECT_GT(scroll.maximum(), 0);
    EXPECT_EQ(scroll.value(), scroll.maximum()) << "the console follows the latest answer";

    EXPECT_TRUE(choose(2, "kickPlayerByName"));
    EXPECT_TRUE(choose(2, "banPlayerByName"));
    ASSERT_EQ(alerts->shown().size(), 2) << "\"Big Joe\" would reach the server cut at its blank";
    EXPECT_EQ(alerts->shown().at(1).title, "Ban Player");
    EXPECT_EQ(alpha->commands().size(), 5);

    // On another favourite the choice stands for nobody: the entries are disabled.
    selectFavourite(1);
    for (const char* command : {"kickPlayer", "kickPlayerByName", "banPlayer", "banPlayerByName"})
        EXPECT_FALSE(choose(-1, command)) << command;
    EXPECT_EQ(alerts->beeps(), 0);
}

TEST_F(ZorvelConsoleTest, theConsoleCountsDownTheRefusalsBeforeThePasswordGoesWithAnAlertThatTakesNoKeys)
{
    alpha->server->setServerPass(QStringLiteral("wrong"));
    QLineEdit& command = control<QLineEdit>("rconField");
    for (int refusal = 1; refusal < 7; ++refusal) {
        UserInput::typeInto(command, "g_speed 320");
        UserInput::pressEnter(command);
        settle();
        EXPECT_TRUE(console().endsWith(
            QStringLiteral("\nBad rconpassword.\nRefusals left before the rcon password is deleted: %1").arg(7 - refusal)))
            << console().toStdString();
    }
    EXPECT_TRUE(alerts->shown().isEmpty());

    UserInput::typeInto(command, "g_speed 320");
    UserInput::pressEnter(command);
    settle();
    EXPECT_TRUE(console().endsWith("\nBad rconpassword.\nThe rcon password has been deleted"));
    EXPECT_EQ(statusBarText(), "Alpha refused the rcon password");
    EXPECT_TRUE(alpha->server->serverPass().isEmpty());
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Wrong Rcon Password");
    EXPECT_EQ(alerts->shown().first().message, "Actual password has been deleted");
    EXPECT_TRUE(alerts->shown().first().unasked);
}

TEST_F(ZorvelConsoleTest, typedTextThatWouldEndTheCommandIsRefusedAndAnEmptyCommandSendsNothing)
{
    struct Refused {
        const char* map;
        const char* gametype;
        const char* password;
        const char* alertTitle;
    };
    const QList<Refused> cases = {
        {"mp_crash;quit", "war", nullptr, "Changing map & gametype:"},
        {"mp_crash", "war\";quit", nullptr, "Changing map & gametype:"},
        {"mp crash", "war", nullptr, "Changing map & gametype:"},
        {nullptr, nullptr, "x\";rcon_password mine;\"", "Join password:"},
        {nullptr, nullptr, "open;sesame", "Join password:"},
        {nullptr, nullptr, "open\"sesame", "Join password:"},
    };
    for (const Refused& typed : cases) {
        if (typed.map) {
            UserInput::typeInto(control<QComboBox>("mapListComboBox"), typed.map);
            UserInput::typeInto(control<QComboBox>("gametypeListComboBox"), typed.gametype);
            UserInput::click(control<QPushButton>("changeMapButton"));
        } else {
            UserInput::typeInto(control<QLineEdit>("newPassword"), typed.password);
            UserInput::click(control<QPushButton>("setNewServerPasswordButton"));
        }
        ASSERT_FALSE(alerts->shown().isEmpty());
        EXPECT_EQ(alerts->shown().last().title, typed.alertTitle);
        EXPECT_TRUE(alerts->shown().last().message.startsWith("The server would not read this "));
    }
    EXPECT_EQ(alerts->shown().size(), cases.size());

    UserInput::click(control<QPushButton>("rconButton"));
    QLineEdit& command = control<QLineEdit>("rconField");
    UserInput::pressEnter(command);
    control<QLineEdit>("newPassword").clear();
    UserInput::click(control<QPushButton>("setNewServerPasswordButton"));
    UserInput::typeInto(control<QComboBox>("mapListComboBox"), "mp_crash");
    UserInput::typeInto(control<QComboBox>("gametypeListComboBox"), "war");
    UserInput::click(control<QPushButton>("changeMapButton"));
    alpha->waitForCommands(3);
    EXPECT_EQ(alpha->commands(), Commands({"g_password \"\"", "g_gametype war", "map mp_crash"}))
        << "an empty command field sends nothing; an empty join password lifts it";
    EXPECT_EQ(alerts->shown().size(), cases.size());
}

TEST_F(ZorvelConsoleTest, aKickOrBanThatWasSentRefreshesTheServerAndAPlayerWhoLeftIsToldGone)
{
    const QAbstractItemModel& players = *control<QTableView>("tableViewPlayers").model();
    const auto shownPlayers = [&players] {
        QStringList names;
        for (int row = 0; row < players.rowCount(); ++row)
            names.append(players.index(row, 0).data().toString());
        return names;
    };
    alpha->peer.setRconAnswer("clientKick 12", {GameServerPeer::printDatagram("")});
    alpha->peer.setStatusAnswer({alphaStatus({"e", "Big Joe"})});
    selectPlayer(1);
    click("kickButton");
    settle();
    EXPECT_EQ(statusBarText(), "Kicked Steve (slot 12) on Alpha");
    EXPECT_EQ(shownPlayers(), QStringList({"e", "Big Joe"})) << "Steve is gone from the table";

    // Beret left after the last refresh; his row still shows.
    alpha->server->setServerPlayers({player("e"), player("Beret")});
    controller->updateUI();
    selectPlayer(1);
    click("kickButton");
    settle();
    EXPECT_EQ(statusBarText(), "Beret is no longer on Alpha");
    EXPECT_EQ(shownPlayers(), QStringList({"e", "Big Joe"}));

    alpha->peer.setRconAnswer("banUser e", {GameServerPeer::printDatagram("")});
    alpha->peer.setStatusAnswer({alphaStatus({"Big Joe"})});
    control<QRadioButton>("banForeverButton").setChecked(true);
    ASSERT_TRUE(UserInput::chooseFromMenu(UserInput::openContextMenu(control<QTableView>("tableViewPlayers"), 0),
                                          "banPlayerByName"));
    settle();
    EXPECT_EQ(statusBarText(), "Banned e for ever on Alpha");
    EXPECT_EQ(shownPlayers(), QStringList{"Big Joe"});
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_EQ(alpha->commands(), Commands({"status", "clientKick 12", "status", "banUser e"}));
}

// A Nexuiz server (DarkPlaces): its console writes slots as "#1" and kicks with
// "kick # SLOT"; the game has no ban, so the drawer and the players' menu offer none.
TEST_F(ZorvelConsoleTest, aGameOfTheCatalogueIsAdministeredWithItsOwnCommandsAndWithoutWhatItLacks)
{
    const QByteArray nexuizListing = "host:     ^1Nex^x0f0Test\n"
                                     "map:      ruiner\n"
                                     "players:  2 active (8 max)\n"
                                     "\n"
                                     "#1   e                   -666   0:00:04\n"
                                     "   127.0.0.1:48816\n"
                                     "#4   ^1St^7eve             5   0:01:10\n"
                                     "   127.0.0.1:48817\n";
    alpha->peer.setRconAnswer("status", {QByteArray("\xff\xff\xff\xffn", 5) + nexuizListing});
    alpha->server->setServerGameName(QStringLiteral("Nexuiz"));
    controller->updateUI();
    EXPECT_TRUE(control<QPushButton>("banButton").isHidden());
    EXPECT_TRUE(control<QRadioButton>("banForeverButton").isHidden());
    EXPECT_FALSE(control<QPushButton>("kickButton").isHidden());

    selectPlayer(1);
    QMenu& players = *window->findChild<QMenu*>(QStringLiteral("playersContextMenu"));
    QMetaObject::invokeMethod(&players, "aboutToShow");
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("banPlayer"))->isEnabled());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("kickPlayer"))->isEnabled());

    click("kickButton");
    alpha->waitForCommands(2);
    settle();
    const QList<UdpPeer::Received> received = alpha->commandsReceived();
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received.at(1).datagram, "kick # 4");
    EXPECT_TRUE(alerts->shown().isEmpty());

    // Xonotic bans by slot with its own command.
    alpha->server->setServerGameName(QStringLiteral("Xonotic"));
    controller->updateUI();
    ASSERT_FALSE(control<QPushButton>("banButton").isHidden());
    selectPlayer(1);
    control<QRadioButton>("banForeverButton").setChecked(true);
    click("banButton");
    alpha->waitForCommands(4);
    settle();
    ASSERT_EQ(alpha->commandsReceived().size(), 4);
    EXPECT_EQ(alpha->commandsReceived().at(3).datagram, "kickban # 4");
}
