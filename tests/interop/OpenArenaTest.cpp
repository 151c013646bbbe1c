#include "OpenArenaServer.h"

#include "app/MainWindow.h"
#include "app/MasterScan.h"
#include "app/Zorvel.h"
#include "model/CodServer.h"
#include "model/GameCatalogue.h"
#include "model/GameKind.h"
#include "model/ServerArchive.h"
#include "net/AnswerAssembly.h"
#include "net/DatagramSocket.h"
#include "net/QuakeProtocol.h"
#include "net/ScanEngine.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "support/ChildProcess.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QComboBox>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <future>

namespace {

// What both a status refresh and quakestat say about the server and its players.
struct StatusSighting {
    QString hostName;
    QString mapName;
    QString maxClients;
    // "name,score,ping" per player, in answer order.
    QStringList players;

    bool operator==(const StatusSighting&) const = default;
};

std::ostream& operator<<(std::ostream& out, const StatusSighting& seen)
{
    return out << seen.hostName.toStdString() << " " << seen.mapName.toStdString() << " "
               << seen.maxClients.toStdString() << " [" << seen.players.join(QStringLiteral("; ")).toStdString()
               << "]";
}

StatusSighting sightingOf(const CodServer& server)
{
    StatusSighting seen{server.serverName(), server.serverMapName(), server.serverMaxClients(), {}};
    for (const CodPlayerPtr& player : server.serverPlayers())
        seen.players.append(QStringList{player->playerName(), player->playerScore(), player->playerPing()}.join(u','));
    return seen;
}

// quakestat's raw output: "Q3S,address,name,map,max,count,ping,retries", the rules
// line, then "name,score,ping" per player.
StatusSighting sightingOfQuakestat(const QString& address)
{
    OpenArenaServer::waitForTurn();
    ChildProcess quakestat({.program = QStringLiteral("quakestat"), .arguments = {"-q3s", address, "-P", "-R", "-raw", ","}});
    const QByteArray output = quakestat.readToEnd();
    EXPECT_EQ(quakestat.waitForExit(), 0) << "quakestat (Debian qstat) did not run";
    const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 2)
        return {};
    const QStringList server = lines.first().split(u',');
    if (server.size() < 5)
        return {};
    return {server.at(2), server.at(3), server.at(4), lines.mid(2)};
}

// The lines of an answer that name a .bsp file.
QStringList bspLines(const QString& answer)
{
    return answer.split(u'\n').filter(QRegularExpression(QStringLiteral("\\.bsp$")));
}

class OpenArenaTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenArenaServer::instance().isInstalled())
            GTEST_SKIP() << OpenArenaServer::program << " is absent: apt-get install openarena-server";
        ASSERT_TRUE(OpenArenaServer::instance().isRunning());
        TestPreferences::installFresh();
        Preferences::standard().setObject(QStringLiteral("20 ms"), QStringLiteral("Latency for double command"));
        alerts = &RecordingAlerts::install();
        server->setServerIp(OpenArenaServer::instance().address());
    }

    void refresh()
    {
        OpenArenaServer::waitForTurn();
        server->serverRefresh();
    }

    QString send(const QString& command, int type)
    {
        OpenArenaServer::waitForTurn();
        return server->sendCommandToServer(command, type);
    }

    CodServerPtr server = CodServer::create();
    RecordingAlerts* alerts = nullptr;
};

}  // namespace

TEST_F(OpenArenaTest, aStatusRefreshFillsTheRecordAsQuakestatSeesIt)
{
    refresh();
    ASSERT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverName(), "ZorvelTest");
    EXPECT_EQ(server->serverMapName(), "oa_dm1");
    EXPECT_EQ(server->serverGametype(), "0");
    EXPECT_EQ(server->serverMaxClients(), "8");
    EXPECT_EQ(server->serverGameName(), "baseoa");
    EXPECT_EQ(gameKindOf(server->serverGameName()), GameKind::Unknown);
    EXPECT_TRUE(server->serverShortVersion().startsWith("ioq3")) << "the version, sent without a short one";
    ASSERT_EQ(server->serverPlayers().size(), 2);
    EXPECT_EQ(server->serverPlayers().at(0)->playerName(), "Sarge");
    EXPECT_EQ(server->serverPlayers().at(1)->playerName(), "Grism");
    EXPECT_TRUE(server->serverPing().startsWith("Ping: "));

    // The bots play on, so their scores may change between two queries: compare
    // quakestat with the record when two refreshes around it agree.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const StatusSighting before = sightingOf(*server);
        const StatusSighting byQuakestat = sightingOfQuakestat(OpenArenaServer::instance().address());
        refresh();
        if (sightingOf(*server) == before) {
            EXPECT_EQ(byQuakestat, before);
            return;
        }
    }
    FAIL() << "the scores changed during every comparison";
}

TEST_F(OpenArenaTest, withThePasswordARefreshFetchesTheConfigurationListing)
{
    server->setServerPass(OpenArenaServer::rconPassword);
    refresh();
    EXPECT_EQ(server->commError(), CodServer::Answered);
    const QStringList configs = server->cfgList();
    EXPECT_TRUE(configs.contains("ffa.cfg"));
    EXPECT_TRUE(configs.contains("server.cfg"));
    EXPECT_TRUE(configs.contains("q3config_server.cfg"));
    EXPECT_FALSE(configs.contains("language.cfg"));
    EXPECT_EQ(QSet<QString>(configs.cbegin(), configs.cend()).size(), configs.size());
    EXPECT_TRUE(server->mapList().isEmpty());
}

TEST_F(OpenArenaTest, aListingSplitOverTwoDatagramsComesBackWholeInTheServersOrder)
{
    const QString command = QStringLiteral("fdir *.bsp");
    // What the server sends, datagram by datagram.
    OpenArenaServer::waitForTurn();
    DatagramSocket socket;
    ASSERT_TRUE(socket.setReceiveTimeout(500000));
    ASSERT_TRUE(socket.connectTo(OpenArenaServer::instance().address()));
    ASSERT_TRUE(socket.send(QuakeProtocol::rconRequest(OpenArenaServer::rconPassword, command)));
    QStringList datagrams;
    for (QByteArray datagram; !(datagram = socket.receive(QuakeProtocol::receiveBufferBytes)).isEmpty();)
        datagrams.append(QuakeProtocol::textOfDatagram(datagram));
    ASSERT_EQ(datagrams.size(), 2) << "the listing no longer spans two datagrams";
    ASSERT_FALSE(AnswerAssembly::isCompleteListing(datagrams.first()));
    const QStringList sent = bspLines(datagrams.first() + datagrams.last());

    server->setServerPass(OpenArenaServer::rconPassword);
    const QString answer = send(command, QuakeProtocol::RconCommand);
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_TRUE(AnswerAssembly::isCompleteListing(answer));
    const QStringList names = bspLines(answer);
    EXPECT_EQ(names, sent);
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    EXPECT_TRUE(answer.contains(QStringLiteral("\n%1 files listed").arg(names.size())));
}

TEST_F(OpenArenaTest, theConsoleStatusListsEveryBotWithItsSlot)
{
    server->setServerPass(OpenArenaServer::rconPassword);
    const QString answer = send(QString(), QuakeProtocol::RconStatus);
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_TRUE(AnswerAssembly::isCompleteConsoleStatus(answer));
    EXPECT_TRUE(answer.contains("map: oa_dm1\n"));
    const QRegularExpression botLine(QStringLiteral("^ *(\\d+) +-?\\d+ +\\d+ +(\\w+) "),
                                     QRegularExpression::MultilineOption);
    QStringList botSlots;
    for (const QRegularExpressionMatch& line : botLine.globalMatch(answer))
        botSlots.append(line.captured(2) + u'=' + line.captured(1));
    EXPECT_EQ(botSlots, QStringList({"Sarge=0", "Grism=1"}));
}

TEST_F(OpenArenaTest, theSeventhWrongPasswordAnswerClearsThePassword)
{
    server->setServerPass(QStringLiteral("not-the-password"));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(send(QStringLiteral("say hi"), QuakeProtocol::RconCommand).contains("Bad rconpassword."));
    EXPECT_EQ(server->serverPass(), "not-the-password");
    EXPECT_TRUE(alerts->shown().isEmpty());

    EXPECT_TRUE(send(QStringLiteral("say hi"), QuakeProtocol::RconCommand).contains("Bad rconpassword."));
    EXPECT_EQ(server->serverPass(), "");
    EXPECT_EQ(alerts->shown().size(), 1);
}

TEST_F(OpenArenaTest, aSayCommandIsAnsweredAndLeavesTheExchangeGood)
{
    server->setServerPass(OpenArenaServer::rconPassword);
    const QString answer = send(QStringLiteral("say hello from Zorvel"), QuakeProtocol::RconCommand);
    EXPECT_TRUE(answer.contains("hello from Zorvel")) << answer.toStdString();
    EXPECT_EQ(server->commError(), CodServer::Answered);
}

namespace {

// The drawer's console commands through the real main window, on a favourite that is
// the OpenArena server with its rcon password.
class OpenArenaConsoleTest : public OpenArenaTest {
protected:
    void SetUp() override
    {
        OpenArenaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        desktop = &RecordingDesktop::install();
        desktop->installApplication(QStringLiteral("openarena"), QStringLiteral("/usr/games/openarena"));
        Preferences::standard().setObject(QStringLiteral("%1 ms").arg(latencyMs), QStringLiteral("Latency for double command"));
        server->setServerName(QStringLiteral("OpenArena"));
        server->setServerPass(OpenArenaServer::rconPassword);
        Preferences::standard().setObject(ServerArchive::archiveServerList({server}), QStringLiteral("myServers"));
        controller = std::make_unique<Zorvel>();
        window = std::make_unique<MainWindow>(*controller);
        window->show();
        server = controller->myServers().at(0);
        // Selecting a favourite one administers refreshes it on the window's worker:
        // an exchange in its turn, waited for with the map listing that follows it one
        // latency later; the next exchange waits for its turn after that listing.
        OpenArenaServer::waitForTurn();
        control<QTableView>("tableViewServers").selectRow(0);
        while (!controller->windowExchangesIdle())
            QTest::qWait(5);
        OpenArenaServer::waitForTurn();
    }

    template <class Widget>
    Widget& control(const char* name) const
    {
        return *window->findChild<Widget*>(QString::fromLatin1(name));
    }

    // Clicks a drawer button in the server's turn, waits for the answers of its
    // commands, and lets half a second go before any other exchange: the server
    // ignores a console command that follows another within half a second.
    void click(const char* button) const
    {
        OpenArenaServer::waitForTurn();
        control<QPushButton>(button).click();
        while (!controller->console().idle())
            QTest::qWait(5);
        QTest::qWait(latencyMs + 100);
    }

    QStringList playerNames() const
    {
        QStringList names;
        for (const CodPlayerPtr& player : server->serverPlayers())
            names.append(player->playerName());
        return names;
    }

    // Refreshes until the condition holds, a few times at most, and redraws the window.
    void refreshUntil(const std::function<bool()>& condition)
    {
        for (int attempt = 0; attempt < 10 && !condition(); ++attempt)
            refresh();
        controller->updateUI();
    }

    // Above the half second the server waits between two console commands.
    static constexpr int latencyMs = 600;
    RecordingDesktop* desktop = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(OpenArenaConsoleTest, aBotKickedBySlotIsGoneFromTheNextStatus)
{
    send(QStringLiteral("addbot kyonshi 1"), QuakeProtocol::RconCommand);
    refreshUntil([this] { return playerNames().contains(QStringLiteral("Kyonshi")); });
    const qsizetype row = playerNames().indexOf(QStringLiteral("Kyonshi"));
    ASSERT_GE(row, 0) << "the third bot did not join";

    control<QTableView>("tableViewPlayers").selectRow(int(row));
    click("kickButton");
    refresh();
    EXPECT_EQ(playerNames(), QStringList({"Sarge", "Grism"}));
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(OpenArenaConsoleTest, theFavouriteIsJoinedThroughTheOpenArenaLauncherAndOffersNoBan)
{
    EXPECT_TRUE(control<QPushButton>("banButton").isHidden()) << "OpenArena has no ban command";
    control<QPushButton>("goToServerButton").click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, "/usr/games/openarena");
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", OpenArenaServer::instance().address()}));
}

TEST_F(OpenArenaConsoleTest, theSayButtonIsAnsweredAndTheConsoleShowsTheAnswer)
{
    control<QLineEdit>("sayField").setText(QStringLiteral("hello from the drawer"));
    click("sayButton");
    EXPECT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(control<QLineEdit>("sayField").text(), "");
    const QStringList console = control<QPlainTextEdit>("consoleView").toPlainText().split(u'\n');
    ASSERT_GE(console.size(), 2);
    EXPECT_TRUE(console.first().endsWith("> say hello from the drawer")) << console.first().toStdString();
    EXPECT_TRUE(console.at(1).contains("hello from the drawer")) << console.at(1).toStdString();
}

TEST_F(OpenArenaConsoleTest, changeMapLoadsTheMapThatTheNextStatusShows)
{
    server->setLastUpdate(QDateTime::currentDateTime());
    control<QComboBox>("mapListComboBox").setEditText(QStringLiteral("oa_dm2"));
    control<QComboBox>("gametypeListComboBox").setEditText(QStringLiteral("0"));
    click("changeMapButton");
    refreshUntil([this] { return server->serverMapName() == u"oa_dm2"; });
    EXPECT_EQ(server->serverMapName(), "oa_dm2");
    EXPECT_EQ(server->serverGametype(), "0");

    // Back to the map the server started on, with both bots, for the tests that follow.
    send(QStringLiteral("map oa_dm1"), QuakeProtocol::RconCommand);
    refreshUntil([this] { return server->serverMapName() == u"oa_dm1" && playerNames().size() == 2; });
    EXPECT_EQ(server->serverMapName(), "oa_dm1");
}

namespace {

// What the command line's query and quakestat's JSON both say: name, map, max
// players, and "name,score,ping" per player.
StatusSighting sightingOfJson(const QJsonObject& server, const QString& nameKey, const QString& maxKey,
                        const QString& playersKey)
{
    StatusSighting seen{server[nameKey].toString(), server["map"].toString(), QString::number(server[maxKey].toInt()), {}};
    for (const QJsonValue& player : server[playersKey].toArray()) {
        const QJsonObject each = player.toObject();
        seen.players.append(QStringLiteral("%1,%2,%3")
                                .arg(each["name"].toString())
                                .arg(each["score"].toInt())
                                .arg(each["ping"].toInt()));
    }
    return seen;
}

StatusSighting sightingOfZorvelQuery(const QString& address)
{
    OpenArenaServer::waitForTurn();
    const QTemporaryDir home;
    ChildProcess zorvel({.program = QStringLiteral(ZORVEL_PROGRAM),
                         .arguments = {"query", "--json", address},
                         .environment = {"XDG_CONFIG_HOME=" + home.path(), "DISPLAY=", "QT_QPA_PLATFORM="},
                         .errorFile = home.filePath("standard-error")});
    const QByteArray output = zorvel.readToEnd();
    EXPECT_EQ(zorvel.waitForExit(), 0);
    return sightingOfJson(QJsonDocument::fromJson(output).object(), "name", "max_players", "player_list");
}

StatusSighting sightingOfQuakestatJson(const QString& address)
{
    OpenArenaServer::waitForTurn();
    ChildProcess quakestat({.program = QStringLiteral("quakestat"), .arguments = {"-json", "-q3s", address, "-P"}});
    const QByteArray output = quakestat.readToEnd();
    EXPECT_EQ(quakestat.waitForExit(), 0) << "quakestat (Debian qstat) did not run";
    return sightingOfJson(QJsonDocument::fromJson(output).array().at(0).toObject(), "name", "maxplayers", "players");
}

}  // namespace

// The bots' scores move while they play: the command line's answer is compared with
// quakestat's when two queries around it agree.
TEST_F(OpenArenaTest, theCommandLineQueryAgreesWithQuakestatsJson)
{
    const QString address = OpenArenaServer::instance().address();
    std::optional<StatusSighting> settled;
    StatusSighting reference;
    for (int attempt = 0; attempt < 10 && !settled; ++attempt) {
        const StatusSighting before = sightingOfZorvelQuery(address);
        reference = sightingOfQuakestatJson(address);
        if (sightingOfZorvelQuery(address) == before)
            settled = before;
    }
    ASSERT_TRUE(settled) << "the bots' scores never held still";
    EXPECT_EQ(*settled, reference);
    EXPECT_EQ(settled->hostName, "ZorvelTest");
    EXPECT_EQ(settled->players.size(), 2);
}

// A dpmaster-style master (it answers only a request that names its game) lists the
// real server: the command line asks it as OpenArena's masters are asked, and finds
// the server.
TEST_F(OpenArenaTest, theCommandLineScanOfADpmasterStyleMasterFindsTheRealServer)
{
    MasterServerPeer dpmaster;
    dpmaster.setGameName("Quake3Arena");
    const quint16 port = OpenArenaServer::instance().port();
    dpmaster.setAnswer({MasterServerPeer::listDatagram({MasterServerPeer::record(0x7F000001, port)},
                                                       MasterServerPeer::Ending::EndOfTransmission)});
    OpenArenaServer::waitForTurn();
    const QTemporaryDir home;
    ChildProcess zorvel({.program = QStringLiteral(ZORVEL_PROGRAM),
                         .arguments = {"scan", "openarena", "--json", "--master", "127.0.0.1:" + QString::number(dpmaster.port())},
                         .environment = {"XDG_CONFIG_HOME=" + home.path(), "DISPLAY=", "QT_QPA_PLATFORM="},
                         .errorFile = home.filePath("standard-error")});
    const QByteArray output = zorvel.readToEnd();
    EXPECT_EQ(zorvel.waitForExit(), 0);
    const QJsonObject found = QJsonDocument::fromJson(output.trimmed()).object();
    EXPECT_EQ(found["address"].toString(), OpenArenaServer::instance().address());
    EXPECT_EQ(found["name"].toString(), "ZorvelTest");
    EXPECT_EQ(dpmaster.receivedDatagrams(),
              QList<QByteArray>{QByteArray("\xff\xff\xff\xffgetservers Quake3Arena 71 empty full")});
}

// An OpenArena scan asks each server with a challenge of its own: the real server
// echoes it, the answer is matched to its query by it, and the ping is that query's
// round trip on the loopback, within the time-out.
TEST_F(OpenArenaTest, aScanWithTheChallengeOnKeepsTheRealServerWithASanePing)
{
    const GameDescription* openArena = GameCatalogue::standard().find(QStringLiteral("openarena"));
    ASSERT_TRUE(openArena);
    const ScanSettings settings = MasterScan::settingsFor(*openArena, {});
    ASSERT_TRUE(settings.echoesChallenge);
    std::mutex lock;
    QList<CodServerPtr> kept;
    std::promise<ScanCounts> ended;
    ScanEngine engine;
    OpenArenaServer::waitForTurn();
    engine.query({{0x7F000001, OpenArenaServer::instance().port()}}, settings,
                 {[&](const CodServerPtr& server) {
                      std::lock_guard guard(lock);
                      kept.append(server);
                  },
                  [](const ScanCounts&) {}, [&ended](const ScanCounts& counts, bool) { ended.set_value(counts); }});
    EXPECT_EQ(ended.get_future().get().answered, 1);

    std::lock_guard guard(lock);
    ASSERT_EQ(kept.size(), 1);
    const CodServer& server = *kept.first();
    EXPECT_EQ(server.serverName(), "ZorvelTest");
    const ServerRules rules = server.serverRules();
    const auto challenge =
        std::find_if(rules.cbegin(), rules.cend(), [](const auto& rule) { return rule.first == u"challenge"; });
    ASSERT_NE(challenge, rules.cend()) << "the query carried no challenge";
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+$")).match(challenge->second).hasMatch());
    const QRegularExpressionMatch ping = QRegularExpression(QStringLiteral("^Ping: +([0-9]+) ms$")).match(server.serverPing());
    ASSERT_TRUE(ping.hasMatch()) << server.serverPing().toStdString();
    EXPECT_LT(ping.captured(1).toInt(), settings.timeout.count() / 1000);
}
