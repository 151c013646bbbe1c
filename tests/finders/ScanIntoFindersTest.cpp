#include "FinderWindowTest.h"

#include "app/MasterScan.h"
#include "finders/ScanProgress.h"
#include "model/EditedMasters.h"
#include "model/GameCatalogue.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QGroupBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// Servers of the farm, each with one player, answering after the delay.
std::vector<GameServerFarm::Server> farmServers(int count, std::chrono::milliseconds delay)
{
    std::vector<GameServerFarm::Server> servers;
    for (int i = 0; i < count; ++i)
        servers.push_back({.hostName = "^2Farm^7 " + QByteArray::number(i), .mapName = "mp_farm",
                           .players = {"Player" + QByteArray::number(i)}, .answerDelay = delay});
    return servers;
}

// Both finders open over real CoD scans of a farm of simulated servers, at the
// fastest pace.
class ScanIntoFindersTest : public FinderWindowTest {
protected:
    void SetUp() override
    {
        FinderWindowTest::SetUp();
        openBothFindersOverCodScans(master.port());
    }

    // Starts a live search once the player finder holds servers to search: a search
    // over nothing ends at once.
    void searchPlayer(const QString& text) const
    {
        while (playerFinder->findChild<QLabel*>("serverCount-cod")->text() == u"0 servers")
            QTest::qWait(2);
        playerFinder->controls().playerToFindBox->setEditText(text);
        playerFinder->controls().startButton->click();
    }

    // Starts a scan through the main window's menu and waits for its end.
    void scanThroughTheMenu(const char* command) const
    {
        window->findChild<QAction*>(QString::fromLatin1(command))->trigger();
        while (controller->anyMasterIsRefreshing())
            QTest::qWait(5);
        QTest::qWait(20);
    }
    QString mainWindowLabel(const char* name) const { return window->findChild<QLabel*>(name)->text(); }

    MasterServerPeer master;
};

}  // namespace

TEST_F(ScanIntoFindersTest, theFindersFollowARunningScanAndShowItsWholeListWhenItEnds)
{
    std::vector<GameServerFarm::Server> servers = farmServers(19, 0ms);
    servers.push_back({.hostName = "Late", .mapName = "mp_late", .players = {"^1Late^7comer"}, .answerDelay = 250ms});
    servers.push_back({.hostName = "Mute", .mapName = "mp_mute", .answer = GameServerFarm::Answer::Silent});
    GameServerFarm farm(servers);
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));

    serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
    ASSERT_TRUE(controller->masterIsRefreshing(0));
    searchPlayer(QStringLiteral("latecomer"));

    bool grewWhileFrozen = false;
    while (controller->masterIsRefreshing(0)) {
        QTest::qWait(5);
        grewWhileFrozen |= serverFinder->findChild<QLabel*>("serverCount-cod")->text() != u"0 servers"
            && serverFinder->theServers().isEmpty() && serverFinder->controls().filtersBox->isHidden();
    }
    QTest::qWait(50);
    EXPECT_TRUE(grewWhileFrozen) << "the counts grow while the shown list stays as it was";

    EXPECT_EQ(serverFinder->theServers().size(), 20) << "every answering server, the silent one left out";
    EXPECT_EQ(serverFinder->controls().numberOfServerFound->text(), "20 servers");
    EXPECT_EQ(entries(*serverFinder->controls().mapSearchBox), QStringList({"All", "mp_farm", "mp_late"}))
        << "the map of the server that answered last is offered";
    EXPECT_FALSE(serverFinder->controls().filtersBox->isHidden());
    EXPECT_EQ(namesFound(playerFinder->thePlayersFound()), QStringList{"Latecomer"})
        << "found on the server that answered last";
}

// The history keeps the players of every scan: a server the last scan no longer
// listed still tells where a player was seen.
TEST_F(ScanIntoFindersTest, lastSeenTellsWherePlayersWereSeenInPastScansTheLatestFirst)
{
    GameServerFarm earlier({{.hostName = "Earlier", .mapName = "mp_old", .players = {"^1Zv^7Ghost"}}});
    master.setAnswer(MasterServerPeer::listDatagrams(earlier.masterRecords(), 10));
    scanThroughTheMenu("scan-cod");
    GameServerFarm later({{.hostName = "Later", .mapName = "mp_new", .players = {"<b>zvShade</b>", "Nobody"}}});
    master.setAnswer(MasterServerPeer::listDatagrams(later.masterRecords(), 10));
    scanThroughTheMenu("scan-cod");
    ASSERT_EQ(controller->masterServers(0).size(), 1) << "the last scan listed the later server alone";

    Ui::PlayerFinder& ui = playerFinder->controls();
    UserInput::typeInto(*ui.playerToFindBox, QStringLiteral("ZV"));
    UserInput::click(*ui.lastSeenButton);
    QTRY_COMPARE_WITH_TIMEOUT(ui.lastSeenTable->rowCount(), 2, 120000);
    EXPECT_TRUE(ui.lastSeenBox->isVisible());
    const auto cellText = [&ui](int row, int column) { return ui.lastSeenTable->item(row, column)->text(); };
    EXPECT_EQ(cellText(0, 0), QStringLiteral("<b>zvShade</b>")) << "shown as typed, never as markup";
    EXPECT_EQ(cellText(0, 1), QStringLiteral("Later"));
    EXPECT_EQ(cellText(1, 0), QStringLiteral("ZvGhost"));
    EXPECT_EQ(cellText(1, 2), earlier.answeringAddresses().first());
    EXPECT_EQ(ui.lastSeenSummary->text(), QStringLiteral("2 stays of players whose name holds “ZV”, the latest first."));

    UserInput::typeInto(*ui.playerToFindBox, QStringLiteral("Nowhere to be seen"));
    UserInput::click(*ui.lastSeenButton);
    QTRY_COMPARE_WITH_TIMEOUT(ui.lastSeenTable->rowCount(), 0, 120000);
    EXPECT_EQ(ui.lastSeenSummary->text(),
              QStringLiteral("The history never saw a player whose name holds “Nowhere to be seen”."));
}

// The game's row tells what became of each master: how many servers it listed, or
// why none.
TEST_F(ScanIntoFindersTest, theGamesRowTellsEachMastersOutcomeInItsTip)
{
    GameServerFarm farm(farmServers(12, 0ms));
    master.setAnswer(MasterServerPeer::activisionDatagrams(farm.masterRecords(), 5));
    const QLabel& count = *serverFinder->findChild<QLabel*>("serverCount-cod");

    serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
    while (controller->masterIsRefreshing(0))
        QTest::qWait(5);
    QTRY_VERIFY(count.toolTip().contains(QStringLiteral("127.0.0.1:%1: listed 12").arg(master.port())));

    MasterScan::setHostLookup([](const QString&) { return QString(); });
    const auto realLookup = qScopeGuard([] { MasterScan::setHostLookup(MasterScan::getIpFromString); });
    Preferences::standard().setObject(QStringLiteral("no-such-master.invalid"), QStringLiteral("CoD Master Server"));
    serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
    while (controller->masterIsRefreshing(0))
        QTest::qWait(5);
    QTRY_VERIFY(count.toolTip().contains(QStringLiteral("no-such-master.invalid:%1: host not found").arg(master.port())));
    EXPECT_FALSE(count.toolTip().contains(QStringLiteral("listed"))) << "the last scan's masters only";
}

TEST_F(ScanIntoFindersTest, quittingInTheMiddleOfAScanWithBothFindersOpenStopsTheEngine)
{
    TestPreferences::setSpeed(2000);
    GameServerFarm farm(farmServers(400, 20ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 100));
    playerFinder->findChild<QPushButton*>("fetchButton-cod")->click();
    searchPlayer(QStringLiteral("player"));
    ASSERT_TRUE(controller->masterIsRefreshing(0));
    while (playerFinder->thePlayersFound().isEmpty())
        QTest::qWait(5);

    window.reset();
    controller.reset();
    EXPECT_LT(farm.queriesReceived(), 400) << "at 250 queries a second, the scan had not queried them all";
}

TEST_F(ScanIntoFindersTest, aRunningScanTellsItsCountsInBothWindowsAndAStopIsTold)
{
    TestPreferences::setSpeed(2000);
    GameServerFarm farm(farmServers(400, 20ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 100));
    const QRegularExpression counts(QStringLiteral("^Call of Duty: \\d+ of 400 queried, \\d+ answered$"));
    QLabel& inFinder = *serverFinder->controls().scansProgress;
    const QPushButton& stop = *serverFinder->findChild<QPushButton*>("stopButton-cod");
    const QPoint stopBefore = stop.mapTo(serverFinder, QPoint());

    // Each hand-over's counts agree with the list handed over: every server kept
    // answered, and every server that answered was queried.
    int contradictions = 0;
    QObject::connect(controller.get(), &Zorvel::masterListsChanged, [&] {
        const ScanCounts counts = controller->scanProgress(0).counts;
        contradictions += counts.answered < controller->masterServers(0).size() || counts.queried < counts.answered;
    });

    serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
    const auto toldCounts = [&] {
        return counts.match(inFinder.text()).hasMatch()
               && counts.match(mainWindowLabel("scanProgress-cod")).hasMatch();
    };
    while (!toldCounts())
        QTest::qWait(5);
    EXPECT_TRUE(inFinder.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(stop.mapTo(serverFinder, QPoint()), stopBefore) << "a click aimed at Stop must not miss";

    serverFinder->findChild<QPushButton*>("stopButton-cod")->click();
    EXPECT_TRUE(inFinder.text().startsWith("Call of Duty: stopped, ")) << inFinder.text().toStdString();
    EXPECT_TRUE(mainWindowLabel("scanProgress-cod").startsWith("Call of Duty: stopped, "));
    while (controller->masterIsRefreshing(0))
        QTest::qWait(5);
    QTest::qWait(20);
    EXPECT_FALSE(inFinder.isVisible());
    EXPECT_EQ(contradictions, 0);
    EXPECT_EQ(mainWindowLabel("scanProgress-cod").toStdString(),
              ("Call of Duty: " + ScanProgress::serversInDatabase(int(controller->masterServers(0).size()), true))
                  .toStdString());
}

TEST_F(ScanIntoFindersTest, theServerFinderOpensOnTheGameFetchedLastOrElseOnTheFirstWithServers)
{
    GameServerFarm farm(farmServers(3, 0ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));
    Ui::ServerFinder& ui = serverFinder->controls();
    const auto reopened = [this, &ui] {
        serverFinder->close();
        openServerFinder();
        const QList<QRadioButton*> games = serverFinder->findChildren<QRadioButton*>(QRegularExpression("^gameButton-"));
        return int(std::find_if(games.cbegin(), games.cend(), [](QRadioButton* game) { return game->isChecked(); })
                   - games.cbegin());
    };
    TestPreferences::pointMaster("CoD2", master.port());
    TestPreferences::pointMaster("CoD4", 1);

    scanThroughTheMenu("scan-cod");
    scanThroughTheMenu("scan-cod2");
    EXPECT_EQ(reopened(), 2) << "Call of Duty 2 was fetched last";
    EXPECT_EQ(serverFinder->theServers().size(), 3);

    scanThroughTheMenu("scan-cod4");
    EXPECT_EQ(reopened(), 0) << "Call of Duty 4 has no servers: the first game with servers";

    QRadioButton& uo = *serverFinder->findChild<QRadioButton*>("gameButton-uo");
    uo.click();
    window->findChild<QAction*>("showFindServerWindow")->trigger();
    EXPECT_TRUE(uo.isChecked()) << "a finder in view keeps the game the user chose";
}

// A fetch that fails leaves both finders as a fetch that succeeded does: filters and
// Fetch buttons back, the player search's indicator stopped.
TEST_F(ScanIntoFindersTest, aFetchFromASilentMasterEndsTheFetchingStateOfBothFinders)
{
    GameServerFarm farm(farmServers(3, 0ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));
    scanThroughTheMenu("scan-cod");
    MasterServerPeer silentMaster;
    TestPreferences::pointMaster(QStringLiteral("UO"), silentMaster.port());
    Ui::ServerFinder& inServerFinder = serverFinder->controls();
    Ui::PlayerFinder& inPlayerFinder = playerFinder->controls();

    QPushButton& fetchCod = *serverFinder->findChild<QPushButton*>("fetchButton-cod");
    QPushButton& fetchUO = *serverFinder->findChild<QPushButton*>("fetchButton-uo");
    fetchUO.click();
    ASSERT_TRUE(controller->masterIsRefreshing(1));
    searchPlayer(QStringLiteral("nobody"));
    EXPECT_TRUE(inServerFinder.filtersBox->isHidden());
    EXPECT_TRUE(inPlayerFinder.isSearchingIndicator->isVisible());
    EXPECT_FALSE(fetchCod.isEnabled());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller->masterIsRefreshing(1); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inServerFinder.filtersBox->isHidden(); }, 60000));
    EXPECT_FALSE(inServerFinder.updateInProgress->isVisible());
    EXPECT_TRUE(fetchCod.isEnabled());
    EXPECT_TRUE(fetchUO.isEnabled());
    EXPECT_TRUE(playerFinder->findChild<QPushButton*>("fetchButton-cod")->isEnabled());
    EXPECT_FALSE(inPlayerFinder.isSearchingIndicator->isVisible());
    EXPECT_EQ(mainWindowLabel("scanProgress-uo"), "United Offensive: Try again...");
}

TEST_F(ScanIntoFindersTest, theServerFinderKeepsItsWidthAndTheUsersColumnWidthsOverScans)
{
    std::vector<GameServerFarm::Server> servers;
    for (int i = 0; i < 12; ++i)
        servers.push_back({.hostName = "^3A server with a rather long name, number " + QByteArray::number(i * 1000),
                           .mapName = "mp_a_map_with_a_long_name_" + QByteArray::number(i),
                           .players = {"Player"}});
    GameServerFarm farm(servers);
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 5));
    QHeaderView& header = *serverFinder->controls().serverTable->horizontalHeader();
    const int widthBefore = serverFinder->width();
    const auto scan = [this] {
        serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
        while (controller->masterIsRefreshing(0))
            QTest::qWait(5);
        QTest::qWait(20);
    };
    scan();
    const int mapColumn = columnTitled(*serverFinder->controls().serverTable, "Map");
    EXPECT_GT(header.sectionSize(mapColumn), header.fontMetrics().horizontalAdvance("mp_a_map_with_a_long_name_1"))
        << "the columns fit what the first scan found";
    header.resizeSection(mapColumn, 60);
    scan();
    scan();
    EXPECT_EQ(serverFinder->width(), widthBefore);
    EXPECT_EQ(header.sectionSize(mapColumn), 60) << "the width the user gave stays";
}

// Every game of the catalogue has its entry in the Scan menu and its row in the
// finders; a game without settings keys of its own asks the masters of the Masters
// page with its own request.
TEST_F(ScanIntoFindersTest, aGameOfTheCatalogueIsScannedFromTheScanMenuIntoItsOwnFinderRow)
{
    GameServerFarm farm(farmServers(3, 0ms));
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 10));
    const GameDescription& openArena = *GameCatalogue::standard().find("openarena");
    MasterDescription local = EditedMasters::likeCatalogue(openArena, "127.0.0.1", master.port(), MasterDescription::Transport::Udp);
    ASSERT_TRUE(EditedMasters::store(openArena, {local}, Preferences::standard()));

    QMenu& scanMenu = *window->findChild<QMenu*>("scanMenu");
    QStringList entries;
    for (const QAction* action : scanMenu.actions())
        entries.append(action->text());
    EXPECT_EQ(entries, QStringList({"Call of Duty servers", "United Offensive servers", "Call of Duty 2 servers",
                                    "Call of Duty 4 servers", "Urban Terror servers", "Quake III Arena servers",
                                    "OpenArena servers", "Xonotic servers", "Nexuiz servers"}));
    scanThroughTheMenu("scan-openarena");

    EXPECT_TRUE(master.receivedDatagrams().contains(QByteArray("\xff\xff\xff\xffgetservers Quake3Arena 71 empty full")));
    EXPECT_EQ(serverFinder->findChild<QLabel*>("serverCount-openarena")->text(), "3 servers");
    EXPECT_EQ(serverFinder->findChild<QLabel*>("serverCount-cod")->text(), "0 servers");
    EXPECT_EQ(playerFinder->findChild<QLabel*>("serverCount-openarena")->text(), "3 servers");
    EXPECT_EQ(mainWindowLabel("scanProgress-openarena"), "OpenArena: 3 servers in database");
    UserInput::click(*serverFinder->findChild<QRadioButton*>("gameButton-openarena"));
    EXPECT_EQ(serverFinder->theServers().size(), 3);
}
