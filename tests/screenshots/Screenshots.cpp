// Draws Zorvel's windows for the README and saves them as PNG images: the main window
// with its administration drawer open, the server finder during a scan, the player
// finder with a search's results, the game rotation editor, the preferences, and the
// Watch window with its rule sheet, and the Information window's History tab. The
// favourites are made up and their state is set directly; the history is a month of
// made-up answers of the first favourite, in a data folder of the run's own; the
// finders scan a farm of simulated servers on 127.0.0.1, so nothing leaves this
// computer.
//
//   screenshots OUTPUT_FOLDER [--dark]
//
// With --dark the windows are drawn in the Fusion style on a dark palette, and each
// image's name ends in "-dark".
#include "admin/GameRotation.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "finders/PlayerFinder.h"
#include "finders/ServerFinder.h"
#include "launch/GameApplications.h"
#include "model/ServerArchive.h"
#include "peers/GameServerFarm.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "prefs/PreferenceController.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/RecordingNotifications.h"
#include "support/TestPreferences.h"
#include "watch/WatchRuleStore.h"
#include "watch/WatchWindow.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QDateTime>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>

#include <cmath>
#include <cstdio>
#include <cstdlib>

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
        players.append(std::make_shared<const CodPlayer>(CodPlayer::Fields{
            .name = QString::fromUtf8(name), .ping = QString::number(ping += 7), .score = QString::fromUtf8(score)}));
    }
    return players;
}

// Rules that ask no server: the scans feed the first, the others are paused.
QList<WatchRule> watchRules()
{
    WatchRule clan;
    clan.text = QStringLiteral("[FR]");
    clan.scope = WatchRule::Scope::AnyScannedServer;
    clan.alert = true;
    WatchRule slot;
    slot.condition = WatchRule::Condition::SlotFrees;
    slot.count = 2;
    slot.server = QString::fromUtf8(favourites[0].ip);
    slot.join = true;
    slot.intervalSeconds = 30;
    slot.paused = true;
    WatchRule map = slot;
    map.condition = WatchRule::Condition::MapStarts;
    map.text = QStringLiteral("mp_toujane");
    map.server = QString::fromUtf8(favourites[2].ip);
    map.joinWithoutAsking = true;
    map.paused = true;
    return {clan, slot, map};
}

// A month of answers of the server, every ten minutes, busy in the evenings and at
// weekends, on a map rotation of half an hour; Zorvel did not run for six hours a
// day and a half ago.
void seedHistory(HistoryStore& history, const QString& address)
{
    const QStringList maps = {QStringLiteral("mp_carentan"), QStringLiteral("mp_toujane"),
                              QStringLiteral("mp_burgundy"), QStringLiteral("mp_dawnville")};
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    constexpr qint64 step = 10 * 60;
    for (qint64 ago = 30 * 24 * 3600; ago >= 0; ago -= step) {
        if (ago > 30 * 3600 && ago < 36 * 3600)
            continue;
        const QDateTime when = QDateTime::fromSecsSinceEpoch(now - ago);
        const double hour = when.time().hour() + when.time().minute() / 60.0;
        const double evening = std::exp(-std::pow((hour - 21) / 3.0, 2));
        const double weekend = when.date().dayOfWeek() >= 6 ? 1.3 : 1.0;
        const double wobble = std::sin(double(ago) / 1700.0) * 1.5;
        ServerAnswer answer;
        answer.time = now - ago;
        answer.address = address;
        answer.game = QStringLiteral("Call of Duty 2");
        answer.name = QStringLiteral("[FR] Carentan Nights");
        answer.map = maps.at(int((now - ago) / 1800 % maps.size()));
        answer.gametype = QStringLiteral("tdm");
        answer.maxPlayers = 24;
        answer.players = std::clamp(int(std::lround(1 + 21 * evening * weekend + wobble)), 0, 24);
        history.record(answer);
    }
    bool written = false;
    QObject waiting;
    history.run([](HistoryDatabase&) {}, &waiting, [&written] { written = true; });
    while (!written)
        QTest::qWait(10);
}

}  // namespace

// Every window is drawn at a size that shows its tables without scrolling far.
bool save(QWidget& window, const QString& folder, const QString& name, const QString& suffix)
{
    QApplication::processEvents();
    const QString path = QStringLiteral("%1/%2%3.png").arg(folder, name, suffix);
    if (window.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Draws the History tab of the selected favourite over the period the choice's row
// names, once its answer came.
bool saveHistory(InfoWindow& sheet, int period, const QString& folder, const QString& name, const QString& suffix)
{
    auto& tabs = *sheet.findChild<QTabWidget*>(QStringLiteral("infoTabs"));
    tabs.setCurrentIndex(1);
    sheet.findChild<QComboBox*>(QStringLiteral("historyPeriod"))->setCurrentIndex(period);
    QWidget& chart = *sheet.findChild<QWidget*>(QStringLiteral("historyChart"));
    auto& pages = *sheet.findChild<QStackedWidget*>(QStringLiteral("historyPages"));
    while (pages.currentWidget() != chart.parentWidget())
        QTest::qWait(10);
    QTest::qWait(200);
    return save(sheet, folder, name, suffix);
}

// Lets the server's record take its map list from the simulated server's listing.
void listMapsOf(CodServer& server, GameServerPeer& mapServer)
{
    QByteArray lines = "---------------\n";
    for (const char* map : {"mp_breakout", "mp_brecourt", "mp_burgundy", "mp_carentan", "mp_dawnville", "mp_decoy",
                            "mp_downtown", "mp_farmhouse", "mp_leningrad", "mp_matmata", "mp_railyard", "mp_toujane"})
        lines += QByteArray("maps/mp/") + map + ".d3dbsp\n";
    mapServer.setRconPassword(server.serverPass().toLatin1());
    mapServer.setRconAnswer("fdir maps/mp*.d3dbsp", {GameServerPeer::printDatagram(lines + "12 files listed\n")});
    const QString address = server.serverIp();
    server.setServerIp(QString::fromLatin1(mapServer.address()));
    server.mapListRefresh();
    server.setServerIp(address);
}

// The shown top-level window of the class.
template <class Window>
Window* shownWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(top); window && window->isVisible())
            return window;
    }
    std::fprintf(stderr, "the %s is not shown\n", Window::staticMetaObject.className());
    std::exit(1);
}

void useDarkPalette()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2a, 0x2e, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xef, 0xf0, 0xf1));
    dark.setColor(QPalette::Base, QColor(0x1b, 0x1e, 0x20));
    dark.setColor(QPalette::AlternateBase, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::Text, QColor(0xef, 0xf0, 0xf1));
    dark.setColor(QPalette::Button, QColor(0x31, 0x36, 0x3b));
    dark.setColor(QPalette::ButtonText, QColor(0xef, 0xf0, 0xf1));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    dark.setColor(QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc));
    dark.setColor(QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3b));
    dark.setColor(QPalette::ToolTipText, QColor(0xef, 0xf0, 0xf1));
    QApplication::setPalette(dark);
}

// Points the CoD4 master at the farm's master and waits, processing events, until the
// server finder's scan has queried part of the farm.
void scanTheFarm(ServerFinder& finder, const MasterServerPeer& master, const GameServerFarm& farm)
{
    TestPreferences::pointMaster(QStringLiteral("CoD4"), master.port());
    TestPreferences::setSpeed(25);
    finder.findChild<QRadioButton*>("gameButton-cod4")->click();
    finder.findChild<QPushButton*>("fetchButton-cod4")->click();
    while (farm.queriesReceived() < farm.size() / 2)
        QTest::qWait(10);
}

int main(int argc, char** argv)
{
    // The made-up history goes in a data folder of the run's own.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication application(argc, argv);
    if (argc < 2 || argc > 3 || (argc == 3 && qstrcmp(argv[2], "--dark") != 0)) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [--dark]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc == 3 ? QStringLiteral("-dark") : QString();
    if (argc == 3)
        useDarkPalette();
    TestPreferences::installFresh();
    TestPreferences::setTimeout(300000);
    RecordingAlerts::install();
    RecordingNotifications::install();
    WatchRuleStore::store(watchRules());
    RecordingDesktop::install().installApplication(GameApplications::callOfDuty2, QStringLiteral("/usr/games/cod2mp"));

    QList<CodServerPtr> stored;
    for (const Favourite& favourite : favourites)
        stored.append(recordOf(favourite));
    Preferences::standard().setObject(ServerArchive::archiveServerList(stored), QStringLiteral("myServers"));

    // The first favourite's maps come from a simulated server's listing.
    GameServerPeer mapServer;
    Zorvel controller;
    MainWindow window(controller);
    window.resize(1100, 640);
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("playerNameToFind"))->setText(QStringLiteral("Bob"));
    // The first favourite is one the user administers: selecting it refreshes it, and
    // nothing answers at its address. The made-up status replaces what that left.
    window.findChild<QTableView*>(QStringLiteral("tableViewServers"))->selectRow(0);
    while (!controller.windowExchangesIdle())
        QTest::qWait(10);
    const QList<CodServerPtr> servers = controller.myServers();
    for (qsizetype i = 0; i < servers.size(); ++i)
        setStatus(*servers.at(i), favourites[i]);
    servers.at(0)->setServerPlayers(playersOf(carentanPlayers));
    listMapsOf(*servers.at(0), mapServer);
    servers.at(1)->setServerPlayers(playersOf(turnpikePlayers));
    controller.updateUI();
    bool saved = save(window, folder, QStringLiteral("main-window"), suffix);

    seedHistory(controller.history(), servers.at(0)->serverIp());
    controller.infoOnServer();
    InfoWindow& info = window.infoWindow();
    info.resize(640, 640);
    saved &= saveHistory(info, 0, folder, QStringLiteral("history"), suffix);
    saved &= saveHistory(info, 1, folder, QStringLiteral("history-week"), suffix);
    controller.closeInfoWindow();

    controller.createGameRotation();
    GameRotation& editor = *shownWindow<GameRotation>();
    editor.resize(900, 560);
    saved &= save(editor, folder, QStringLiteral("rotation-editor"), suffix);
    editor.close();

    controller.showPreferencePanel();
    PreferenceController& preferences = *shownWindow<PreferenceController>();
    saved &= save(preferences, folder, QStringLiteral("preferences"), suffix);
    preferences.close();

    // The armed player alert shows as the first rule.
    window.findChild<QCheckBox*>(QStringLiteral("alertOnPlayerButton"))->setChecked(true);
    controller.showWatchWindow();
    WatchWindow& watch = *shownWindow<WatchWindow>();
    watch.resize(760, 240);
    saved &= save(watch, folder, QStringLiteral("watch"), suffix);
    watch.findChild<QPushButton*>(QStringLiteral("addRuleButton"))->click();
    auto& ruleSheet = *watch.findChild<QDialog*>();
    saved &= save(ruleSheet, folder, QStringLiteral("watch-rule"), suffix);
    ruleSheet.reject();
    watch.close();
    window.findChild<QCheckBox*>(QStringLiteral("alertOnPlayerButton"))->setChecked(false);

    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 7, .silentFraction = 0.1,
                                                       .maximumDelay = std::chrono::milliseconds(60)}));
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 100));
    controller.showFindServerWindow();
    controller.showFindPlayerOrClanPanel();
    ServerFinder* serverFinder = shownWindow<ServerFinder>();
    PlayerFinder* playerFinder = shownWindow<PlayerFinder>();
    serverFinder->resize(1150, 620);
    playerFinder->resize(900, 560);
    scanTheFarm(*serverFinder, master, farm);
    saved &= save(*serverFinder, folder, QStringLiteral("server-finder-scanning"), suffix);
    while (controller.masterIsRefreshing(3))
        QTest::qWait(10);
    QTest::qWait(100);
    saved &= save(*serverFinder, folder, QStringLiteral("server-finder"), suffix);
    playerFinder->controls().playerToFindBox->setEditText(QStringLiteral("a"));
    playerFinder->controls().startButton->click();
    saved &= save(*playerFinder, folder, QStringLiteral("player-finder"), suffix);
    controller.stopMasterScans();
    return saved ? 0 : 1;
}
