#include "MainWindowFixture.h"

#include "app/PasswordWindow.h"
#include "launch/GameApplications.h"
#include "model/ServerArchive.h"
#include "platform/HostResolution.h"
#include "net/UtProtocol.h"
#include "peers/GameServerPeer.h"
#include "peers/UtQueryPeer.h"
#include "platform/Preferences.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include "ui_PasswordWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {

QString addressOf(const UdpPeer& peer)
{
    return QString::fromLatin1(peer.address());
}

int statusQueries(const UdpPeer& peer)
{
    return int(peer.receivedDatagrams().count(QByteArray("\xff\xff\xff\xffgetstatus")));
}

QByteArray statusWithPlayer(const QByteArray& hostName, const QByteArray& playerName)
{
    return GameServerPeer::statusDatagram("\\sv_hostname\\" + hostName + "\\gamename\\Call of Duty 2\n0 40 \""
                                          + playerName + "\"\n");
}

}  // namespace

// Refreshing favourites one at a time from the window and all together on the
// worker, the periodic timer, the player alert and joining, against simulated
// servers on loopback.
class RefreshScheduling : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TestPreferences::setTimeout(50000);
    }

    bool indicatorTurns() const { return control<QProgressBar>("travailEnCours").isVisible(); }
    PasswordWindow& passwordSheet() const { return window->passwordWindow(); }

    // Favourites named after their position, on servers that never answer.
    QList<CodServerPtr> silentFavourites(int count)
    {
        QList<CodServerPtr> favourites;
        for (int i = 0; i < count; ++i) {
            silent.push_back(std::make_unique<GameServerPeer>());
            favourites.append(server(QString::number(i), addressOf(*silent.back())));
        }
        return favourites;
    }

    // The query port of a UT2004 server. Its game port, just below, is held by a
    // silent peer, so that no other process's server answers the status query there.
    UtQueryPeer& ut2004QueryPort()
    {
        while (!queryPort) {
            silent.push_back(std::make_unique<GameServerPeer>());
            try {
                queryPort = std::make_unique<UtQueryPeer>(silent.back()->port() + 1);
            } catch (const std::runtime_error&) {
            }
        }
        return *queryPort;
    }
    static QString gameAddressOf(const UtQueryPeer& queryPort)
    {
        return QStringLiteral("127.0.0.1:%1").arg(queryPort.port() - 1);
    }

    std::vector<std::unique_ptr<GameServerPeer>> silent;
    std::unique_ptr<UtQueryPeer> queryPort;
};

TEST_F(RefreshScheduling, refreshAllQueriesEveryFavouriteOnceWhateverItAnswers)
{
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("Answering", "Bob")});
    UtQueryPeer& ut2004 = ut2004QueryPort();
    ut2004.setAnswers(UtProtocol::Information, {UtQueryPeer::infoAnswer("UT Arena", "DM-Rankin", "xDeathMatch", 16)});
    startWith(QList<CodServerPtr>{server("", addressOf(answering)), server("UT", gameAddressOf(ut2004))}
              + silentFavourites(1));

    clickButton("refreshAllServersButton");
    EXPECT_FALSE(isEnabled("refreshAllServersButton"));
    EXPECT_TRUE(indicatorTurns());
    controller->refreshAllServers();
    waitForTheRunToEnd();

    EXPECT_TRUE(isEnabled("refreshAllServersButton") && !indicatorTurns());
    EXPECT_EQ(statusQueries(answering), 1) << "a request during the run starts no second one";
    EXPECT_EQ(statusQueries(*silent.back()), 2) << "a silent favourite is asked once more";
    EXPECT_EQ(cell(favourites(), 0, "Name").toString(), "Answering");
    EXPECT_TRUE(controller->listOfServersModified()) << "a favourite without a name learnt one";
    EXPECT_EQ(favourite(1)->serverGameName(), "UT2004");
    EXPECT_EQ(favourite(2)->commError(), CodServer::Unreachable);
}

// The run asks every favourite at once: each silent one is asked again only after
// every favourite had its first query, and an answer is shown while silent ones are
// still waited for.
TEST_F(RefreshScheduling, refreshAllAsksEveryFavouriteAtOnceAndShowsEachAnswerAsItComes)
{
    TestPreferences::setTimeout(400000);
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("Answering", "Bob")});
    startWith(QList<CodServerPtr>{server("", addressOf(answering))} + silentFavourites(8));

    clickButton("refreshAllServersButton");
    while (cell(favourites(), 0, "Name").toString() != u"Answering")
        QTest::qWait(5);
    EXPECT_TRUE(controller->refreshAllInProgress()) << "shown before the silent favourites' time-outs ran out";
    waitForTheRunToEnd();

    std::chrono::steady_clock::time_point lastFirstQuery;
    std::chrono::steady_clock::time_point firstSecondQuery = std::chrono::steady_clock::time_point::max();
    for (const auto& peer : silent) {
        const QList<UdpPeer::Received> received = peer->received();
        ASSERT_EQ(received.size(), 2);
        lastFirstQuery = std::max(lastFirstQuery, received.first().at);
        firstSecondQuery = std::min(firstSecondQuery, received.last().at);
    }
    EXPECT_LT(lastFirstQuery, firstSecondQuery) << "no favourite waits for another's time-out";
    EXPECT_EQ(outcome(), "Refreshed 9 favourites, 8 did not answer");
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(favourite(row)->serverPing(), "Ping: --- ms");
}

// A tick of the periodic refresh that comes while a run goes on starts no second one.
TEST_F(RefreshScheduling, aPeriodicTickDuringARunIsSkipped)
{
    TestPreferences::setTimeout(999000);
    startWith(silentFavourites(1));
    controller->handleRefreshChange(true, 1);
    ASSERT_TRUE(controller->refreshAllInProgress());
    QSignalSpy ticks(controller->refreshTimer(), &QTimer::timeout);
    while (ticks.isEmpty())
        QTest::qWait(5);
    const bool tickedDuringTheRun = controller->refreshAllInProgress();
    controller->handleRefreshChange(false, 1);
    waitForTheRunToEnd();

    ASSERT_TRUE(tickedDuringTheRun) << "the run outlasts one period: two time-outs of nearly a second";
    EXPECT_EQ(statusQueries(*silent.back()), 2) << "one run: the first query and its retry";
}

TEST_F(RefreshScheduling, theWindowMayEditTheFavouritesWhileTheRunGoesOn)
{
    startWith(silentFavourites(6));

    clickButton("refreshAllServersButton");
    select(0);
    controller->deleteServer();
    std::unique_ptr<QMimeData> drag(favourites().model()->mimeData({favourites().model()->index(4, 1)}));
    favourites().model()->dropMimeData(drag.get(), Qt::MoveAction, 0, 0, {});
    ASSERT_TRUE(controller->addServer(nobodyAnswers, "Added", ""));
    waitForTheRunToEnd();

    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"5", "1", "2", "3", "4", "Added"}));
    EXPECT_EQ(favourite(5)->commError(), CodServer::Unreachable) << "the run reads the list's length at each step";
}

TEST_F(RefreshScheduling, aFavouriteTheRunIsQueryingIsNotQueriedAgainFromTheWindow)
{
    // Nothing answers the status query; the run then waits at the silent UT2004 query
    // port, which is where the window's refresh comes.
    TestPreferences::setTimeout(999000);
    const UtQueryPeer& silentQueryPort = ut2004QueryPort();
    startWith({server("Silent", gameAddressOf(silentQueryPort))});
    select(0);
    clickButton("refreshAllServersButton");
    ASSERT_TRUE(silentQueryPort.waitForReceived(1));

    clickButton("refreshServerButton");
    waitForTheRunToEnd();
    EXPECT_EQ(silentQueryPort.receivedDatagrams().size(), 1);
    EXPECT_EQ(favourite(0)->commError(), CodServer::Unreachable);
}

TEST_F(RefreshScheduling, onlyARefreshTheWindowAsksForIsFollowedByTheMapListOneLatencyAfterTheConfigurations)
{
    constexpr int latencyMilliseconds = 20;
    Preferences::standard().setObject(QStringLiteral("%1 ms").arg(latencyMilliseconds),
                                      QStringLiteral("Latency for double command"));
    GameServerPeer administered;
    administered.setRconPassword("rcon");
    administered.setStatusAnswer({statusWithPlayer("Administered", "Bob")});
    const QByteArray listed = GameServerPeer::printDatagram("---------------\n1 files listed\n");
    administered.setRconAnswer("fdir /[a-z]*.cfg", {listed});
    administered.setRconAnswer("fdir maps/mp*.d3dbsp", {listed});
    startWith({server("Administered", addressOf(administered), "rcon")});
    const auto requests = [&administered](const QByteArray& command) {
        return int(administered.receivedDatagrams().count("\xff\xff\xff\xffrcon rcon " + command));
    };

    const struct {
        const char* refresh;
        std::function<void()> run;
        bool asksForMaps;
    } cases[] = {
        {"the refresh-all worker", [this] { clickButton("refreshAllServersButton"), waitForTheRunToEnd(); }, false},
        // Each thread of a master scan is such a thread.
        {"a thread without an event loop", [this] { std::thread([this] { favourite(0)->serverRefresh(); }).join(); },
         false},
        {"selecting it in the window", [this] { select(0); }, true},
    };
    for (const auto& each : cases) {
        const int configurationsBefore = requests("fdir /[a-z]*.cfg");
        const int mapsBefore = requests("fdir maps/mp*.d3dbsp");
        each.run();
        EXPECT_EQ(requests("fdir /[a-z]*.cfg"), configurationsBefore + 1) << each.refresh;
        // A map listing asked for by mistake would come one latency later: wait ten.
        QTest::qWait(10 * latencyMilliseconds);
        while (each.asksForMaps && requests("fdir maps/mp*.d3dbsp") == mapsBefore)
            QTest::qWait(5);
        EXPECT_EQ(requests("fdir maps/mp*.d3dbsp"), mapsBefore + int(each.asksForMaps)) << each.refresh;
    }
    const QList<UdpPeer::Received> received = administered.received();
    ASSERT_GE(received.size(), 2);
    EXPECT_GE(received.last().at - received.at(received.size() - 2).at, std::chrono::milliseconds(latencyMilliseconds))
        << "the map listing waits one latency after the configurations";
}

TEST_F(RefreshScheduling, selectingRefreshesWhenTheSettingSaysSoOrTheUserAdministersTheServer)
{
    GameServerPeer plain;
    GameServerPeer administered;
    GameServerPeer administeredUt2004;
    startWith({server("Plain", addressOf(plain)), server("Admin", addressOf(administered), "rcon"),
               server("UT admin", addressOf(administeredUt2004), "rcon")});
    favourite(2)->setServerGameName("UT2004");

    const auto queries = [&] {
        return QList<int>({statusQueries(plain), statusQueries(administered), statusQueries(administeredUt2004)});
    };
    for (int row : {0, 1, 2})
        select(row);
    EXPECT_EQ(queries(), QList<int>({0, 1, 0}));

    Preferences::standard().setObject(true, QStringLiteral("Refresh server when selected"));
    select(0);
    select(-1);
    controller->refreshServer();
    EXPECT_EQ(queries(), QList<int>({1, 1, 0})) << "the setting refreshes any selected favourite";
}

TEST_F(RefreshScheduling, thePlayerAlertFiresOncePerArmingNamingTheFavouritesWithThePlayer)
{
    GameServerPeer clanServer;
    clanServer.setStatusAnswer({statusWithPlayer("Clan server", "^1[clan]^7Bob")});
    GameServerPeer secondClanServer;
    secondClanServer.setStatusAnswer({statusWithPlayer("Second", "Al^2CLAN")});
    startWith({server("Clan server", addressOf(clanServer)), server("Nobody", nobodyAnswers),
               server("", addressOf(secondClanServer))});
    QCheckBox& armed = control<QCheckBox>("alertOnPlayerButton");
    select(0);
    armed.setChecked(true);
    clickButton("refreshServerButton");
    EXPECT_TRUE(alerts->shown().isEmpty()) << "no name watched";

    control<QLineEdit>("playerNameToFind").setText("CLAN");
    select(1);
    clickButton("refreshServerButton");
    clickButton("refreshServerButton");
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_TRUE(alerts->shown().first().message.startsWith("CLAN detected on favorite server(s): Clan server"));
    EXPECT_FALSE(armed.isChecked());

    armed.setChecked(true);
    clickButton("refreshServerButton");
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().last().message, "CLAN detected on favorite server(s): Clan server, Second")
        << "a favourite added without a name is named after its server";
    ASSERT_EQ(notifications->sent().size(), 2) << "each alert also goes to the desktop";
    EXPECT_EQ(notifications->sent().last().summary, "Alert on tag/player");
    EXPECT_EQ(notifications->sent().last().body, alerts->shown().last().message);
}

TEST_F(RefreshScheduling, thePeriodicRefreshFollowsTheSwitchAndThePeriod)
{
    Preferences::standard().setObject(true, QStringLiteral("Auto Refresh"));
    startWith(silentFavourites(1));
    ASSERT_NE(controller->refreshTimer(), nullptr);
    EXPECT_TRUE(controller->refreshAllInProgress()) << "switched on at start: a run starts at once";
    waitForTheRunToEnd();

    controller->handleRefreshChange(true, 60);
    EXPECT_EQ(controller->refreshTimer()->interval(), 60 * 1000);
    EXPECT_FALSE(controller->refreshAllInProgress()) << "a new period waits for its first tick";

    controller->handleRefreshChange(false, 60);
    EXPECT_EQ(controller->refreshTimer(), nullptr);
    EXPECT_FALSE(controller->refreshAllInProgress());

    controller->handleRefreshChange(true, 1);
    EXPECT_TRUE(controller->refreshAllInProgress()) << "switched on: a run starts at once";
    // The run at start, the run at once, then the timer's tick.
    while (statusQueries(*silent.front()) < 3)
        QTest::qWait(5);
    controller->handleRefreshChange(false, 1);
    waitForTheRunToEnd();
}

TEST_F(RefreshScheduling, joiningAsksForAPasswordWhenTheServerWantsOneOrAltIsHeld)
{
    desktop->installApplication(GameApplications::callOfDuty2, "/usr/games/cod2mp");
    startWith({server("Open", "10.0.0.1:28960"), server("Locked", "10.0.0.2:28960")});
    for (const CodServerPtr& favourite : controller->myServers()) {
        favourite->setCommError(CodServer::Answered);
        favourite->setServerGameName("Call of Duty 2");
    }
    favourite(1)->setServerPassActive("1");
    const Ui::PasswordWindow& sheetFields = passwordSheet().controls();

    select(0);
    clickButton("goToServerButton");
    EXPECT_FALSE(passwordSheet().isVisible());
    select(1);
    clickButton("goToServerButton");
    ASSERT_TRUE(passwordSheet().isVisible());
    sheetFields.pPassword->setText("let me in");
    sheetFields.okButton->click();
    EXPECT_FALSE(passwordSheet().isVisible());
    ASSERT_EQ(desktop->started().size(), 2);
    EXPECT_EQ(desktop->started().last().arguments, QStringList({"+password let me in", "+connect 10.0.0.2:28960"}));

    select(0);
    QTest::mouseClick(&control<QPushButton>("goToServerButton"), Qt::LeftButton, Qt::AltModifier);
    ASSERT_TRUE(passwordSheet().isVisible()) << "Alt held asks even a server that wants no password";
    QTest::mouseClick(sheetFields.cancelButton, Qt::LeftButton);
    EXPECT_EQ(desktop->started().size(), 2) << "cancelled";
}

TEST_F(RefreshScheduling, quittingDuringARunStopsItAndOffersToStoreTheNamesItLearnt)
{
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("Learnt", "Bob")});
    startWith(QList<CodServerPtr>{server("", addressOf(answering))} + silentFavourites(4));
    alerts->answerNext(Alerts::DefaultButton);

    clickButton("refreshAllServersButton");
    ASSERT_TRUE(answering.waitForReceived(1));
    QTimer::singleShot(0, &control<QAction>("quit"), &QAction::trigger);
    QApplication::exec();

    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Modified list of servers");
    const auto storedAfter = ServerArchive::unarchiveServerList(storedFavourites());
    ASSERT_TRUE(storedAfter.has_value());
    EXPECT_EQ(storedAfter->first()->serverName(), "Learnt");
}

TEST_F(RefreshScheduling, aHostNameIsLookedUpAtEachRefreshAndStaysAsTypedAndOneWithoutAddressSaysSo)
{
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("Named", "Bob")});
    const QString typed = QStringLiteral("localhost:%1").arg(answering.port());
    startWith({server("", typed), server("Nowhere", "nonexistent.invalid:28960")});
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();
    EXPECT_EQ(favourite(0)->commError(), CodServer::Answered);
    EXPECT_EQ(favourite(0)->serverName(), "Named");
    EXPECT_EQ(cell(favourites(), 0, "Address").toString(), typed);
    EXPECT_EQ(tipText(cell(favourites(), 0, "Address", Qt::ToolTipRole)),
              QStringLiteral("Found at 127.0.0.1:%1").arg(answering.port()));
    EXPECT_EQ(favourite(1)->commError(), CodServer::Unreachable);
    select(1);
    EXPECT_EQ(control<QGroupBox>("lastUpdateBox").title(), "No address found for the host name nonexistent.invalid");

    alerts->answerNext(Alerts::DefaultButton);
    controller->applicationWillTerminate();
    EXPECT_EQ(storedAddresses(), QStringList({typed, "nonexistent.invalid:28960"}));
}

TEST_F(RefreshScheduling, quittingWhileANameServerKeepsTheRunWaitingDoesNotWaitForIt)
{
    // A name server that answers only when the test lets it.
    struct Gate {
        std::mutex lock;
        std::condition_variable changed;
        bool asked = false;
        bool open = false;
    };
    const auto gate = std::make_shared<Gate>();
    HostResolution::setResolver([gate](const QString&) {
        std::unique_lock guard(gate->lock);
        gate->asked = true;
        gate->changed.notify_all();
        gate->changed.wait(guard, [&gate] { return gate->open; });
        return QStringLiteral("127.0.0.1");
    });
    startWith({server("Slow", "slow.example:28960")});
    const CodServerPtr slow = favourite(0);
    clickButton("refreshAllServersButton");
    {
        std::unique_lock guard(gate->lock);
        gate->changed.wait(guard, [&gate] { return gate->asked; });
    }
    // Ending returns, the run's worker joined, while the name server is still silent.
    endRunWithoutPrompt();
    EXPECT_EQ(slow->commError(), CodServer::Unreachable) << "the refresh gave the look-up up";
    HostResolution::setResolver(HostResolution::systemLookup);
    const std::lock_guard guard(gate->lock);
    gate->open = true;
    gate->changed.notify_all();
}

// Selecting a favourite whose server stays silent refreshes it on a worker: the
// window answers its timers throughout, tells at once that a second request waits
// for the refresh under way, and tells the outcome once the time-outs ran out.
TEST_F(RefreshScheduling, theWindowAnswersItsTimersWhileTheSelectedFavouritesServerStaysSilent)
{
    TestPreferences::setTimeout(900000);
    Preferences::standard().setObject(true, QStringLiteral("Refresh server when selected"));
    GameServerPeer silent;
    silent.setSilent(true);
    startWith({server("Alpha", addressOf(silent))});
    constexpr qint64 period = 20;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(int(period));
    QElapsedTimer sinceTick;
    QElapsedTimer underWay;
    qint64 mostLate = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] { mostLate = std::max(mostLate, sinceTick.restart() - period); });

    UserInput::clickRow(favourites(), 0);
    underWay.start();
    sinceTick.start();
    ticks.start();
    UserInput::click(control<QPushButton>("refreshServerButton"));
    EXPECT_EQ(outcome(), "Alpha is being refreshed");
    while (outcome() != u"Alpha did not answer")
        QTest::qWait(5);
    ticks.stop();

    EXPECT_GE(underWay.elapsed(), 800) << "the refresh waited for the time-out";
    EXPECT_LT(mostLate, 50) << "the window's timer came late by that many milliseconds";
    EXPECT_EQ(statusQueries(silent), 1) << "the second request queried nothing";
    EXPECT_EQ(favourite(0)->commError(), CodServer::Unreachable);
}
