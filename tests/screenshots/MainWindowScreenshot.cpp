// Draws the main window of Zorvel with its administration drawer open and saves it
// as a PNG image, for the README. It runs on a private preference file with made-up
// favourites whose state is set directly, so it sends nothing on the network.
//
//   main_window_screenshot docs/screenshots/main-window.png
#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "launch/GameApplications.h"
#include "model/ServerArchive.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>

#include <cstdio>

namespace {

struct Favourite {
    const char* name;
    const char* ip;
    const char* pass;
    const char* gameName;
    const char* map;
    const char* gametype;
    const char* ping;
    int commError;
};

const Favourite favourites[] = {
    {"[FR] Carentan Nights", "127.0.0.1:28960", "rcon", "Call of Duty 2", "mp_carentan", "tdm", "Ping:  38 ms", 1},
    {"Urban Terror EU #1", "127.0.0.1:27960", "", "q3ut4", "ut4_turnpike", "ts", "Ping:  52 ms", 1},
    {"CoD4 Promod League", "127.0.0.1:28961", "", "Call of Duty 4", "mp_crash", "sd", "Ping:  45 ms", 1},
    {"Old UO server", "127.0.0.1:28962", "", "", "", "", "Ping: --- ms", 2},
    {"", "127.0.0.1:28963", "", "", "", "", "", 0},
};

const std::pair<const char*, const char*> carentanPlayers[] = {
    {"Tex", "31"}, {"Sergeant Pepper", "27"}, {"xX_Sniper_Xx", "19"},
    {"Kowalski", "12"}, {"Tommy", "8"}, {"Medic!", "3"},
};

// The player the window watches for, seen on another favourite, which turns blue.
const std::pair<const char*, const char*> turnpikePlayers[] = {{"Bob", "5"}, {"Funky", "2"}};

CodServerPtr recordOf(const Favourite& favourite)
{
    CodServerPtr server = CodServer::create();
    server->setServerName(QString::fromUtf8(favourite.name));
    server->setServerIp(QString::fromUtf8(favourite.ip));
    server->setServerPass(QString::fromUtf8(favourite.pass));
    return server;
}

void setStatus(CodServer& server, const Favourite& favourite)
{
    server.setCommError(favourite.commError);
    server.setServerGameName(QString::fromUtf8(favourite.gameName));
    server.setServerMapName(QString::fromUtf8(favourite.map));
    server.setServerGametype(QString::fromUtf8(favourite.gametype));
    server.setServerPing(QString::fromUtf8(favourite.ping));
    server.setServerMaxClients(QStringLiteral("24"));
    server.setServerPunkBuster(QStringLiteral("1"));
    if (favourite.commError == CodServer::Answered)
        server.setLastUpdate(QDateTime(QDate(2024, 5, 17), QTime(21, 4, 9)));
}

template <std::size_t count>
QList<CodPlayerPtr> playersOf(const std::pair<const char*, const char*> (&list)[count])
{
    QList<CodPlayerPtr> players;
    int ping = 40;
    for (const auto& [name, score] : list) {
        auto player = std::make_shared<CodPlayer>();
        player->setPlayerName(QString::fromUtf8(name));
        player->setPlayerScore(QString::fromUtf8(score));
        player->setPlayerPing(QString::number(ping += 7));
        players.append(player);
    }
    return players;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    TestPreferences::installFresh();
    RecordingAlerts::install();
    RecordingDesktop::install().installApplication(GameApplications::callOfDuty2, QStringLiteral("/usr/games/cod2mp"));

    QList<CodServerPtr> stored;
    for (const Favourite& favourite : favourites)
        stored.append(recordOf(favourite));
    Preferences::standard().setObject(ServerArchive::archiveServerList(stored), QStringLiteral("myServers"));

    Zorvel controller;
    MainWindow window(controller);
    window.resize(1100, 640);
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("playerNameToFind"))->setText(QStringLiteral("Bob"));
    // The first favourite is one the user administers: selecting it refreshes it, and
    // nothing answers at its address. The made-up status replaces what that left.
    window.findChild<QTableView*>(QStringLiteral("tableViewServers"))->selectRow(0);
    const QList<CodServerPtr> servers = controller.myServers();
    for (qsizetype i = 0; i < servers.size(); ++i)
        setStatus(*servers.at(i), favourites[i]);
    servers.at(0)->setServerPlayers(playersOf(carentanPlayers));
    servers.at(1)->setServerPlayers(playersOf(turnpikePlayers));
    controller.updateUI();
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
