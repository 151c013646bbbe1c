#include "launch/GameApplications.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

namespace {

const QString address = QStringLiteral("10.0.0.1:28960");
constexpr InstalledGames everyGame{true, true, true, true, true};
const QString notJoinable =
    QStringLiteral("Go to server / The game of the server is not specified in the status / Argh");

}  // namespace

class JoinServer : public testing::Test {
protected:
    void SetUp() override
    {
        alerts = &RecordingAlerts::install();
        desktop = &RecordingDesktop::install();
        desktop->installApplication(GameApplications::callOfDuty2, "/games/cod2mp");
        desktop->installApplication(GameApplications::callOfDuty4, "/games/iw3mp");
        desktop->installApplication(GameApplications::urbanTerror, "/games/Quake3-UrT");
    }

    static void join(const QString& gameName, const QString& password, const InstalledGames& games = everyGame,
                     const QString& serverIp = address)
    {
        const CodServerPtr server = CodServer::create();
        server->setServerGameName(gameName);
        server->setServerIp(serverIp);
        server->joinServerWithPass(password, games);
    }

    // The alerts shown, each as "title / message / button".
    QStringList alertsShown() const
    {
        QStringList shown;
        for (const RecordingAlerts::Shown& alert : alerts->shown())
            shown.append(alert.title + " / " + alert.message + " / " + alert.defaultButton);
        return shown;
    }

    void expectNothingJoined() const
    {
        EXPECT_TRUE(desktop->performed().isEmpty());
        EXPECT_TRUE(desktop->started().isEmpty());
    }

    void expectOnlyAlert(const QString& alert)
    {
        EXPECT_EQ(alertsShown(), QStringList{alert});
        expectNothingJoined();
        alerts->clear();
    }

    RecordingAlerts* alerts = nullptr;
    RecordingDesktop* desktop = nullptr;
};

TEST_F(JoinServer, codAndUoCallTheConnectServiceWithTheAddressOrTheCommandServiceWithThePassword)
{
    join("Call of Duty", "");
    join("Call of Duty", "s3cret");
    join("CoD:United Offensive", "");
    join("CoD:United Offensive", "s3cret");

    const QList<RecordingDesktop::Performed> performed = desktop->performed();
    ASSERT_EQ(performed.size(), 4);
    EXPECT_EQ(performed[0].service, "Call of Duty MP/Connect To Server");
    EXPECT_EQ(performed[0].text, address);
    EXPECT_EQ(performed[1].service, "Call of Duty MP/Perform Command");
    EXPECT_EQ(performed[1].text, "password s3cret \n connect 10.0.0.1:28960");
    EXPECT_EQ(performed[2].service, "CoD United Offensive MP/Connect To Server");
    EXPECT_EQ(performed[2].text, address);
    EXPECT_EQ(performed[3].service, "CoD United Offensive MP/Perform Command");
    EXPECT_EQ(performed[3].text, "password s3cret \n connect 10.0.0.1:28960");
    EXPECT_TRUE(desktop->started().isEmpty());
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(JoinServer, otherGamesStartWithAConnectArgumentPrecededByThePasswordWhenThereIsOne)
{
    const QList<std::pair<QString, QString>> games = {{"Call of Duty 2", "/games/cod2mp"},
                                                      {"Call of Duty 4", "/games/iw3mp"},
                                                      {"q3ut4", "/games/Quake3-UrT"}};
    for (const auto& [gameName, executable] : games) {
        join(gameName, "");
        join(gameName, "my pass/wörd");
    }

    const QList<RecordingDesktop::Started> started = desktop->started();
    ASSERT_EQ(started.size(), 6);
    for (int game = 0; game < games.size(); ++game) {
        const RecordingDesktop::Started& bare = started[2 * game];
        const RecordingDesktop::Started& withPassword = started[2 * game + 1];
        EXPECT_EQ(bare.program, games[game].second);
        EXPECT_EQ(bare.arguments, QStringList{"+connect 10.0.0.1:28960"});
        EXPECT_EQ(withPassword.program, games[game].second);
        EXPECT_EQ(withPassword.arguments, QStringList({"+password my pass/wörd", "+connect 10.0.0.1:28960"}));
    }
    EXPECT_TRUE(desktop->performed().isEmpty());
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(JoinServer, aGameThatIsNotInstalledOrNotJoinableShowsTheSameAlert)
{
    const QList<std::pair<QString, bool InstalledGames::*>> joinable = {
        {"Call of Duty", &InstalledGames::hasCoD},   {"CoD:United Offensive", &InstalledGames::hasUO},
        {"Call of Duty 2", &InstalledGames::hasCoD2}, {"Call of Duty 4", &InstalledGames::hasCoD4},
        {"q3ut4", &InstalledGames::hasUrbanTerror}};
    for (const auto& [gameName, installed] : joinable) {
        InstalledGames allButThisOne = everyGame;
        allButThisOne.*installed = false;
        join(gameName, "s3cret", allButThisOne);
        expectOnlyAlert(notJoinable);
    }
    for (const QString gameName : {"etpro", "noquarter", "UT2004", "", "call of duty"}) {
        join(gameName, "");
        expectOnlyAlert(notJoinable);
    }
}

TEST_F(JoinServer, aServiceThatFailsShowsTheAlertOfThatService)
{
    desktop->failEverything();
    join("Call of Duty", "");
    join("Call of Duty", "s3cret");
    join("CoD:United Offensive", "");
    join("CoD:United Offensive", "s3cret");
    const QString connectFails =
        QStringLiteral("Go to server / Connect To Server Service of %1 does not work properly / Argh");
    const QString commandFails =
        QStringLiteral("Go to server with password / Perform Command Service of %1 does not work properly / Argh");
    EXPECT_EQ(alertsShown(), QStringList({connectFails.arg("CoD"), commandFails.arg("CoD"), connectFails.arg("UO"),
                                          commandFails.arg("UO")}));
}

TEST_F(JoinServer, aLauncherThatIsGoneOrDoesNotStartIsReported)
{
    desktop = &RecordingDesktop::install();
    join("Call of Duty 2", "");
    expectOnlyAlert(notJoinable);

    desktop->installApplication(GameApplications::callOfDuty2, "/games/cod2mp");
    desktop->failEverything();
    join("Call of Duty 2", "");
    EXPECT_EQ(alertsShown(), QStringList{"Go to server / The game of the server could not be started / Argh"});
}

TEST_F(JoinServer, aPasswordOrAddressThatWouldAddACommandIsRefused)
{
    const QString refused = QStringLiteral(
        "Go to server / The password or the address holds a semicolon, a plus sign, a double quote or a control "
        "character, which the game would take as a command of its own / Argh");
    for (const QString gameName : {"Call of Duty", "Call of Duty 4"}) {
        for (const QString password : {"x;quit", "x\nquit", "x\rquit", "x +exec evil.cfg", "x\" ;quit"}) {
            join(gameName, password);
            expectOnlyAlert(refused);
        }
        join(gameName, "", everyGame, "10.0.0.1:28960;quit");
        expectOnlyAlert(refused);
    }
}
