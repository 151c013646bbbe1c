#include "NexuizServer.h"

#include "model/CodServer.h"
#include "net/ConsoleReply.h"
#include "net/QuakeProtocol.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

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
