#include "launch/GameApplications.h"
#include "launch/InstalledGames.h"
#include "model/CodServer.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

namespace {

const QStringList joinableGames = {"cod", "uo", "cod2", "cod4", "urt", "quake3", "openarena", "xonotic", "nexuiz"};
const InstalledGames everyGame(QSet<QString>(joinableGames.cbegin(), joinableGames.cend()));
const QString notJoinable = QStringLiteral("Go to server: The game of the server is not specified in the status");

enum class Launchers { Installed, Failing, Missing };

// Joins the server on a new desktop and returns what happened: the services
// performed, the programs started and the alerts shown.
QStringList join(const QString& gameName, const QString& password, Launchers launchers = Launchers::Installed,
                 const InstalledGames& games = everyGame, const QString& serverIp = QStringLiteral("10.0.0.1:28960"))
{
    RecordingAlerts& alerts = RecordingAlerts::install();
    RecordingDesktop& desktop = RecordingDesktop::install();
    if (launchers != Launchers::Missing) {
        desktop.installApplication(GameApplications::callOfDuty2, "/games/cod2mp");
        desktop.installApplication(GameApplications::callOfDuty4, "/games/iw3mp");
        desktop.installApplication(GameApplications::urbanTerror, "/games/Quake3-UrT");
        desktop.installApplication("openarena", "/usr/games/openarena");
        desktop.installApplication("quake3", "/usr/games/ioquake3");
        desktop.installApplication("xonotic", "/usr/games/xonotic-sdl");
        desktop.installApplication("nexuiz", "/usr/games/nexuiz");
    }
    if (launchers == Launchers::Failing)
        desktop.failEverything();
    const CodServerPtr server = CodServer::create();
    server->setServerGameName(gameName);
    server->setServerIp(serverIp);
    server->joinServerWithPass(password, games);

    QStringList happened;
    for (const RecordingDesktop::Performed& each : desktop.performed())
        happened.append(each.service + ": " + each.text);
    for (const RecordingDesktop::Started& each : desktop.started())
        happened.append((QStringList{each.program} + each.arguments).join(u'|'));
    for (const RecordingAlerts::Shown& each : alerts.shown())
        happened.append(each.title + ": " + each.message);
    return happened;
}

}  // namespace

TEST(JoinServer, eachGameJoinsThroughItsServiceOrItsProgramWithThePasswordFirst)
{
    const struct {
        const char* gameName;
        const char* password;
        Launchers launchers;
        QString joined;
    } cases[] = {
        {"Call of Duty", "", Launchers::Installed, "Call of Duty MP/Connect To Server: 10.0.0.1:28960"},
        {"Call of Duty", "s3cret", Launchers::Installed,
         "Call of Duty MP/Perform Command: password s3cret \n connect 10.0.0.1:28960"},
        {"CoD:United Offensive", "s3cret", Launchers::Installed,
         "CoD United Offensive MP/Perform Command: password s3cret \n connect 10.0.0.1:28960"},
        {"Call of Duty 2", "", Launchers::Installed, "/games/cod2mp|+connect|10.0.0.1:28960"},
        {"Call of Duty 4", "my pass/wörd", Launchers::Installed,
         "/games/iw3mp|+password|my pass/wörd|+connect|10.0.0.1:28960"},
        {"q3ut4", "s3cret", Launchers::Installed, "/games/Quake3-UrT|+password|s3cret|+connect|10.0.0.1:28960"},
        {"baseoa", "{address}", Launchers::Installed, "/usr/games/openarena|+password|{address}|+connect|10.0.0.1:28960"},
        {"baseq3", "", Launchers::Installed, "/usr/games/ioquake3|+connect|10.0.0.1:28960"},
        {"Xonotic", "pw", Launchers::Installed, "/usr/games/xonotic-sdl|+password|pw|+connect|10.0.0.1:28960"},
        {"Nexuiz", "", Launchers::Installed, "/usr/games/nexuiz|+connect|10.0.0.1:28960"},
        {"Nexuiz", "", Launchers::Missing, notJoinable},
        {"Call of Duty 2", "", Launchers::Missing, notJoinable},
        {"Call of Duty", "", Launchers::Failing,
         "Go to server: Connect To Server Service of CoD does not work properly"},
        {"CoD:United Offensive", "s3cret", Launchers::Failing,
         "Go to server with password: Perform Command Service of UO does not work properly"},
        {"Call of Duty 2", "", Launchers::Failing, "Go to server: The game of the server could not be started"},
    };
    for (const auto& each : cases) {
        QStringList happened = join(each.gameName, each.password, each.launchers);
        if (each.launchers == Launchers::Failing)
            happened = happened.filter(QStringLiteral("Go to server"));
        EXPECT_EQ(happened, QStringList{each.joined}) << each.gameName << " " << each.password;
    }
}

TEST(JoinServer, aGameThatIsNotInstalledOrNotJoinableShowsTheSameAlert)
{
    const QList<std::pair<QString, QString>> joinable = {
        {"Call of Duty", "cod"}, {"CoD:United Offensive", "uo"}, {"Call of Duty 2", "cod2"}, {"Call of Duty 4", "cod4"},
        {"q3ut4", "urt"},        {"baseoa", "openarena"},        {"Nexuiz", "nexuiz"}};
    for (const auto& [gameName, id] : joinable) {
        QSet<QString> others(joinableGames.cbegin(), joinableGames.cend());
        others.remove(id);
        EXPECT_EQ(join(gameName, "s3cret", Launchers::Installed, InstalledGames(others)), QStringList{notJoinable})
            << gameName.toStdString();
    }
    for (const QString gameName : {"etpro", "UT2004", "", "call of duty"})
        EXPECT_EQ(join(gameName, ""), QStringList{notJoinable}) << gameName.toStdString();
}

TEST(JoinServer, aPasswordOrAddressThatWouldAddACommandIsRefused)
{
    const QStringList refused = {QStringLiteral(
        "Go to server: The password or the address holds a semicolon, a plus sign, a double quote or a control "
        "character, which the game would take as a command of its own")};
    for (const QString gameName : {"Call of Duty", "Call of Duty 4"}) {
        for (const QString password : {"x;quit", "x\nquit", "x\rquit", "x +exec evil.cfg", "x\" ;quit"})
            EXPECT_EQ(join(gameName, password), refused) << password.toStdString();
        EXPECT_EQ(join(gameName, "", Launchers::Installed, everyGame, "10.0.0.1:28960;quit"), refused);
    }
}
