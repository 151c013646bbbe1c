#include "NexuizServer.h"

#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "model/CodServer.h"
#include "model/ServerArchive.h"
#include "net/ConsoleReply.h"
#include "net/QuakeProtocol.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class NexuizTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!NexuizServer::instance().isInstalled())
            GTEST_SKIP() << NexuizServer::program << " is absent: apt-get install nexuiz-server";
        ASSERT_TRUE(NexuizServer::instance().isRunning());
        TestPreferences::installFresh();
        alerts = &RecordingAlerts::install();
        server->setServerIp(NexuizServer::instance().address());
    }

    QStringList playerNames() const
    {
        QStringList names;
        for (const CodPlayerPtr& player : server->serverPlayers())
            names.append(player->playerName());
        return names;
    }

    void refresh()
    {
        NexuizServer::waitForTurn();
        server->serverRefresh();
    }

    // Refreshes until the condition holds, a few times at most.
    void refreshUntil(const std::function<bool()>& condition)
    {
        refresh();
        for (int attempt = 0; attempt < 5 && !condition(); ++attempt)
            refresh();
    }

    CodServerPtr server = CodServer::create();
    RecordingAlerts* alerts = nullptr;
};

}  // namespace

TEST_F(NexuizTest, aRefreshNamesTheServerFromItsHostnameWithoutEitherKindOfColourCode)
{
    refresh();
    ASSERT_EQ(server->commError(), CodServer::Answered);
    EXPECT_EQ(server->serverName(), "Nexuiz Test");
    EXPECT_EQ(server->serverMapName(), NexuizServer::map);
    EXPECT_EQ(server->serverGameName(), "Nexuiz");
    EXPECT_EQ(server->serverMaxClients(), "8");
}

TEST_F(NexuizTest, aConnectedClientIsListedAndAKickThroughRconTakesItOff)
{
    ASSERT_TRUE(NexuizServer::instance().connectVisitor());
    refreshUntil([this] { return playerNames().contains(NexuizServer::visitorName); });
    ASSERT_EQ(playerNames(), QStringList{NexuizServer::visitorName});

    // The server prints nothing back for a kick: its reply is the bare "n" tag.
    server->setServerPass(NexuizServer::rconPassword);
    server->sendCommandToServer(QStringLiteral("kick ") + NexuizServer::visitorName, QuakeProtocol::RconCommand);
    EXPECT_EQ(server->commError(), CodServer::Answered);
    refreshUntil([this] { return playerNames().isEmpty(); });
    EXPECT_EQ(playerNames(), QStringList());
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(NexuizTest, theConsoleReplyLosesTheColourCodesOfTheEngine)
{
    server->setServerPass(NexuizServer::rconPassword);
    const QString answer = server->sendCommandToServer(QStringLiteral("status"), QuakeProtocol::RconCommand);
    EXPECT_EQ(server->commError(), CodServer::Answered);
    const std::optional<QString> output = ConsoleReply::outputOf(answer);
    ASSERT_TRUE(output) << answer.toStdString();
    EXPECT_TRUE(output->startsWith(QStringLiteral("host:     Nexuiz Test\n"))) << output->toStdString();
    EXPECT_TRUE(NexuizServer::instance().log().contains(QStringLiteral("server received rcon command")));
}

namespace {

// The real main window over a favourite that is the Nexuiz server with its rcon
// password, on a desktop where Nexuiz is installed.
class NexuizWindowTest : public NexuizTest {
protected:
    void SetUp() override
    {
        NexuizTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        desktop = &RecordingDesktop::install();
        desktop->installApplication(QStringLiteral("nexuiz"), QStringLiteral("/usr/games/nexuiz"));
        Preferences::standard().setObject(QStringLiteral("20 ms"), QStringLiteral("Latency for double command"));
        server->setServerPass(NexuizServer::rconPassword);
        Preferences::standard().setObject(ServerArchive::archiveServerList({server}), QStringLiteral("myServers"));
        ASSERT_TRUE(NexuizServer::instance().connectVisitor());
        controller = std::make_unique<Zorvel>();
        window = std::make_unique<MainWindow>(*controller);
        window->show();
        server = controller->myServers().at(0);
        // Selecting a favourite one administers refreshes it.
        NexuizServer::waitForTurn();
        control<QTableView>("tableViewServers").selectRow(0);
        waitForWindowExchanges();
    }

    template <class Widget>
    Widget& control(const char* name) const
    {
        return *window->findChild<Widget*>(QString::fromLatin1(name));
    }

    void waitForWindowExchanges() const
    {
        while (!controller->windowExchangesIdle() || !controller->console().idle())
            QTest::qWait(5);
    }

    RecordingDesktop* desktop = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(NexuizWindowTest, theFavouriteIsJoinedThroughTheLauncherAndItsPlayerKickedFromTheDrawer)
{
    EXPECT_EQ(server->commError(), CodServer::Answered) << "no console listing Nexuiz lacks was asked for";
    EXPECT_EQ(server->serverName(), "Nexuiz Test");
    ASSERT_EQ(playerNames(), QStringList{NexuizServer::visitorName});
    EXPECT_TRUE(control<QPushButton>("banButton").isHidden()) << "Nexuiz has no ban";

    control<QPushButton>("goToServerButton").click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, "/usr/games/nexuiz");
    EXPECT_EQ(desktop->started().first().arguments,
              QStringList({"+connect", NexuizServer::instance().address()}));

    // The drawer's Kick finds the player's slot in the console's "status" and kicks it.
    control<QTableView>("tableViewPlayers").selectRow(0);
    NexuizServer::waitForTurn();
    control<QPushButton>("kickButton").click();
    waitForWindowExchanges();
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_TRUE(NexuizServer::instance().log().contains(QStringLiteral("kick # "))) << "kicked by its slot";
    refreshUntil([this] { return playerNames().isEmpty(); });
    EXPECT_EQ(playerNames(), QStringList());
}
