#include "MainWindowFixture.h"

#include "app/InfoWindow.h"
#include "launch/GameApplications.h"
#include "peers/GameServerPeer.h"

#include "ui_InfoWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

QStringList itemsOf(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

// A console listing of files as a server prints it.
QByteArray listing(const QByteArray& lines)
{
    return GameServerPeer::printDatagram("---------------\n" + lines + "files listed\n");
}

// A favourite that answered its last status query, with two players.
void setAnswered(CodServer& server, const QString& gameName)
{
    server.setCommError(CodServer::Answered);
    server.setServerGameName(gameName);
    server.setServerMapName("mp_carentan");
    server.setServerGametype("tdm");
    server.setServerMaxClients("16");
    server.setServerPing("Ping:  42 ms");
    server.setServerPlayers({player("Alice"), player("Bob")});
}

}  // namespace

class AdministrationPanel : public MainWindowFixture {
protected:
    QString text(const char* label) const { return control<QLabel>(label).text(); }
    QString statusLine() const { return control<QGroupBox>("lastUpdateBox").title(); }
    bool shows(const char* iconView) const { return !control<QLabel>(iconView).pixmap().isNull(); }
    QComboBox& combo(const char* name) const { return control<QComboBox>(name); }
    QImage gameIcon() const { return control<QLabel>("viewGameType").pixmap().toImage(); }
    // The five buttons that need a selected favourite, in the order modify, delete,
    // refresh, details, join.
    QList<bool> serverButtons() const
    {
        QList<bool> enabled;
        for (const char* button : {"modifyServerButton", "deleteServerButton", "refreshServerButton",
                                   "infoServerButton", "goToServerButton"})
            enabled.append(isEnabled(button));
        return enabled;
    }
    InfoWindow& infoSheet() const { return window->infoWindow(); }
};

TEST_F(AdministrationPanel, statusLineAndSummaryTellTheOutcomeOfTheLastExchange)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    const CodServerPtr alpha = favourite(0);
    setAnswered(*alpha, "Call of Duty");
    alpha->setServerPunkBuster("1");
    alpha->setServerPassActive("1");

    alpha->setCommError(CodServer::NeverContacted);
    select(0);
    EXPECT_EQ(statusLine(), "Server has not been refreshed");
    for (const char* field : {"numberOfPlayers", "currentMap", "currentGameType", "currentPing"})
        EXPECT_TRUE(text(field).isEmpty()) << field;
    EXPECT_FALSE(shows("viewGameType") || shows("viewPunkbuster") || shows("viewPassword"));

    alpha->setCommError(CodServer::Answered);
    redraw();
    EXPECT_EQ(statusLine(), "Update in progress please wait and try again");
    EXPECT_EQ(text("numberOfPlayers"), "2/16");
    EXPECT_EQ(text("currentMap"), "mp_carentan");
    EXPECT_EQ(text("currentGameType"), "tdm");
    EXPECT_EQ(text("currentPing"), "Ping:  42 ms");
    EXPECT_EQ(gameIcon(), controller->gameImage(GameKind::CoD).toImage());
    EXPECT_TRUE(shows("viewPunkbuster") && shows("viewPassword"));

    alpha->setLastUpdate(QDateTime(QDate(2024, 5, 17), QTime(21, 4, 9)));
    redraw();
    EXPECT_EQ(statusLine(), "Last update: " + alpha->lastUpdateText());
    EXPECT_TRUE(statusLine().endsWith(") 21:04:09"));

    alpha->setCommError(CodServer::RconFailed);
    redraw();
    EXPECT_EQ(statusLine(), "Problem to send a rcon command (two consecutive refresh, latency too low, ...)");
    EXPECT_EQ(text("numberOfPlayers"), "2/16");
    EXPECT_TRUE(shows("viewGameType"));

    alpha->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_EQ(statusLine(), "Problem to contact the server (bad ip, map rotation,...)");
    EXPECT_TRUE(text("numberOfPlayers").isEmpty());
    EXPECT_EQ(text("currentMap"), "mp_carentan");
    EXPECT_FALSE(shows("viewGameType") || shows("viewPunkbuster") || shows("viewPassword"));

    select(-1);
    EXPECT_TRUE(statusLine().isEmpty());
    EXPECT_TRUE(text("currentMap").isEmpty());
}

TEST_F(AdministrationPanel, iconsShowTheGameAndOnlySettingsOfExactlyOne)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    const CodServerPtr alpha = favourite(0);
    select(0);
    const QList<std::pair<QString, GameKind>> games = {
        {"Call of Duty", GameKind::CoD},       {"CoD:United Offensive", GameKind::UO},
        {"Call of Duty 2", GameKind::CoD2},    {"Call of Duty 4", GameKind::CoD4},
        {"q3ut4", GameKind::UrbanTerror},      {"etpro", GameKind::ET},
        {"etpub", GameKind::ET},               {"noquarter", GameKind::ET},
        {"UT2004", GameKind::UT2004},
    };
    for (const auto& [name, kind] : games) {
        setAnswered(*alpha, name);
        redraw();
        EXPECT_EQ(gameIcon(), controller->gameImage(kind).toImage()) << name.toStdString();
    }
    alpha->setServerGameName("call of duty");
    alpha->setServerPunkBuster("2");
    alpha->setServerPassActive("01");
    redraw();
    EXPECT_FALSE(shows("viewGameType"));
    EXPECT_FALSE(shows("viewPunkbuster"));
    EXPECT_TRUE(shows("viewPassword"));
}

TEST_F(AdministrationPanel, serverButtonsFollowTheSelectionTheOutcomeAndTheInstalledGames)
{
    desktop->installApplication(GameApplications::urbanTerror, "/usr/games/urbanterror");
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960")});
    EXPECT_EQ(serverButtons(), QList<bool>({false, false, false, false, false}));
    EXPECT_TRUE(isEnabled("refreshAllServersButton"));

    select(0);
    EXPECT_EQ(serverButtons(), QList<bool>({true, true, true, false, false}));
    EXPECT_FALSE(control<QAction>("infoOnServer").isEnabled());

    setAnswered(*favourite(0), "q3ut4");
    redraw();
    EXPECT_EQ(serverButtons(), QList<bool>({true, true, true, true, true}));
    EXPECT_TRUE(control<QAction>("infoOnServer").isEnabled());

    for (const char* notInstalled : {"Call of Duty 4", "etpro", "UT2004", ""}) {
        favourite(0)->setServerGameName(notInstalled);
        redraw();
        EXPECT_FALSE(isEnabled("goToServerButton")) << notInstalled;
    }
    favourite(0)->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_FALSE(isEnabled("infoServerButton"));

    select(-1);
    EXPECT_EQ(serverButtons(), QList<bool>({false, false, false, false, false}));
}

TEST_F(AdministrationPanel, drawerOpensForAdministeredServersExceptUT2004)
{
    startWith({server("Plain", "10.0.0.1:28960"), server("Admin", nobodyAnswers, "rcon")});
    const CodServerPtr admin = favourite(1);
    select(0);
    EXPECT_FALSE(drawerIsOpen());

    combo("mapListComboBox").setEditText("typed by hand");
    select(1);
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_TRUE(itemsOf(combo("mapListComboBox")).isEmpty());
    EXPECT_TRUE(combo("mapListComboBox").currentText().isEmpty());
    EXPECT_TRUE(itemsOf(combo("gametypeListComboBox")).isEmpty());
    EXPECT_EQ(statusLine(), "Problem to contact the server (bad ip, map rotation,...)")
        << "selecting an administered favourite refreshes it";
    EXPECT_FALSE(isEnabled("infoServerButton"));
    admin->setCommError(CodServer::NeverContacted);
    redraw();
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_EQ(statusLine(), "Server has not been refreshed");

    setAnswered(*admin, "Call of Duty 2");
    redraw();
    EXPECT_EQ(combo("mapListComboBox").currentText(), "mp_carentan");
    EXPECT_EQ(combo("gametypeListComboBox").currentText(), "tdm");
    EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), controller->cod2GameTypeArray());
    EXPECT_EQ(combo("execComboBox").currentIndex(), -1);

    setAnswered(*admin, "UT2004");
    redraw();
    EXPECT_FALSE(drawerIsOpen());

    admin->setCommError(CodServer::Unreachable);
    admin->setServerGameName("Call of Duty");
    redraw();
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_TRUE(itemsOf(combo("gametypeListComboBox")).isEmpty());
    EXPECT_TRUE(combo("gametypeListComboBox").currentText().isEmpty());

    select(-1);
    EXPECT_FALSE(drawerIsOpen());
}

TEST_F(AdministrationPanel, gametypeListsFollowTheGameAndTheAWEBox)
{
    startWith({server("Admin", nobodyAnswers, "rcon")});
    const CodServerPtr admin = favourite(0);
    select(0);
    QCheckBox& awe = control<QCheckBox>("AWEButton");
    awe.setChecked(true);
    const QList<std::pair<QString, QStringList>> lists = {
        {"Call of Duty", controller->codGameTypeArray() + controller->AWEGameTypeArray()},
        {"CoD:United Offensive", controller->uoGameTypeArray() + controller->AWEGameTypeArray()},
        {"Call of Duty 2", controller->cod2GameTypeArray() + controller->AWEGameTypeArray()},
        {"Call of Duty 4", controller->cod4GameTypeArray()},
        {"q3ut4", {}},
        {"etpub", {}},
        {"", {}},
    };
    for (const auto& [game, gametypes] : lists) {
        setAnswered(*admin, game);
        admin->setCommError(CodServer::RconFailed);
        redraw();
        EXPECT_TRUE(drawerIsOpen()) << game.toStdString();
        EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), gametypes) << game.toStdString();
        EXPECT_EQ(combo("gametypeListComboBox").currentText(), "tdm");
    }

    setAnswered(*admin, "Call of Duty 4");
    redraw();
    combo("gametypeListComboBox").setEditText("war");
    awe.setChecked(false);
    awe.setChecked(true);
    EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), controller->cod4GameTypeArray() + controller->AWEGameTypeArray());
    EXPECT_EQ(combo("gametypeListComboBox").currentText(), "war");
    awe.setChecked(false);
    EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), controller->cod4GameTypeArray());
    EXPECT_EQ(combo("gametypeListComboBox").currentText(), "war");
}

TEST_F(AdministrationPanel, drawerListsTheFilesAndMapsTheServerListsThroughItsConsole)
{
    GameServerPeer peer;
    peer.setRconPassword("secret");
    peer.setRconAnswer("fdir /[a-z]*.cfg", {listing("/promod.cfg\n/language.cfg\n/public.cfg\n")});
    peer.setRconAnswer("fdir maps/mp*.bsp", {listing("maps/mp/mp_harbor.bsp\nmaps/mp/mp_carentan.bsp\n")});
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Admin\\gamename\\Call of Duty"
                                                         "\\mapname\\mp_carentan\\g_gametype\\tdm\n")});
    startWith({server("Admin", QString::fromLatin1(peer.address()), "secret"),
               server("Other", "10.0.0.3:28960", "secret")});
    const CodServerPtr admin = favourite(0);
    // Administered, it is refreshed on selection, which lists its files at once.
    select(0);
    EXPECT_EQ(admin->commError(), CodServer::Answered);
    QComboBox& maps = combo("mapListComboBox");
    EXPECT_EQ(itemsOf(combo("execComboBox")), QStringList({"promod.cfg", "public.cfg"}));
    EXPECT_EQ(combo("execComboBox").currentIndex(), -1);
    EXPECT_TRUE(itemsOf(maps).isEmpty());
    EXPECT_EQ(maps.currentText(), "mp_carentan");

    maps.setEditText("mp_typed");
    admin->mapListRefresh();
    EXPECT_EQ(itemsOf(maps), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(maps.currentText(), "mp_typed");

    controller->updateMapListComboBox(favourite(1));
    EXPECT_EQ(itemsOf(maps), QStringList({"mp_harbor", "mp_carentan"}));
    redraw();
    EXPECT_EQ(maps.currentText(), "mp_carentan");
}

TEST_F(AdministrationPanel, detailsSheetShowsEverythingTheServerTold)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    const CodServerPtr alpha = favourite(0);
    setAnswered(*alpha, "Call of Duty 2");
    alpha->setServerShortVersion("1.3");
    alpha->setServerProtocol("118");
    alpha->setServerAdmin("Admin");
    alpha->setServerEmail("admin@example.org");
    alpha->setServerWebSite("example.org");
    alpha->setServerLocation("Paris");
    alpha->setServerPunkBuster("2");
    alpha->setServerPassActive("0");
    alpha->setServerPure("1");
    select(0);
    EXPECT_FALSE(shows("viewPunkbuster"));

    clickButton("infoServerButton");
    ASSERT_TRUE(infoSheet().isVisible());
    EXPECT_EQ(infoSheet().windowModality(), Qt::WindowModal);
    const Ui::InfoWindow& details = infoSheet().controls();
    EXPECT_EQ(details.infoName->toPlainText(), "Alpha");
    EXPECT_EQ(details.infoIP->text(), "10.0.0.1:28960");
    EXPECT_EQ(details.infoPing->text(), " 42 ms");
    EXPECT_EQ(details.infoGame->text(), "Call of Duty 2");
    EXPECT_EQ(details.infoVersion->text(), "1.3");
    EXPECT_EQ(details.infoProtocol->text(), "118");
    EXPECT_EQ(details.infoAdmin->text(), "Admin");
    EXPECT_EQ(details.infoMail->text(), "admin@example.org");
    EXPECT_EQ(details.infoWebSite->text(), "example.org");
    EXPECT_EQ(details.infoLocation->text(), "Paris");
    EXPECT_EQ(details.infoMaxPlayers->text(), "16");
    EXPECT_EQ(details.infoMap->text(), "mp_carentan");
    EXPECT_EQ(details.infoGametype->text(), "tdm");
    EXPECT_EQ(details.infoNumberOfPlayers->text(), "2 players");
    EXPECT_TRUE(details.infoPunkbuster->isChecked());
    EXPECT_FALSE(details.infoPassword->isChecked());
    EXPECT_TRUE(details.infoPure->isChecked());

    details.closeButton->click();
    EXPECT_FALSE(infoSheet().isVisible());
}

TEST_F(AdministrationPanel, emptyAndEnormousFieldsAreShownAsTheyAre)
{
    const QString enormous(200000, u'x');
    startWith({server("", "10.0.0.1:28960"), server(enormous, nobodyAnswers, enormous)});
    const CodServerPtr big = favourite(1);
    setAnswered(*favourite(0), "");
    favourite(0)->setServerPing("");
    favourite(0)->setServerMaxClients("");
    favourite(0)->setServerPlayers({});

    select(0);
    EXPECT_EQ(text("numberOfPlayers"), "0/");
    controller->infoOnServer();
    EXPECT_TRUE(infoSheet().controls().infoPing->text().isEmpty());
    controller->closeInfoWindow();

    // Administered, it is refreshed on selection; nobody answers, then it is given
    // its enormous status.
    select(1);
    setAnswered(*big, enormous);
    big->setServerMapName(enormous);
    big->setServerMaxClients(enormous);
    redraw();
    EXPECT_EQ(cell(favourites(), 1, "Name").toString(), enormous);
    EXPECT_EQ(text("currentMap"), enormous);
    EXPECT_TRUE(drawerIsOpen());
    controller->infoOnServer();
    EXPECT_EQ(infoSheet().controls().infoName->toPlainText(), enormous);
    controller->closeInfoWindow();

    controller->copy();
    controller->deleteServer();
    controller->paste();
    ASSERT_EQ(controller->myServers().size(), 2);
    EXPECT_EQ(favourite(1)->serverName(), enormous);
    EXPECT_EQ(favourite(1)->serverPass(), enormous);
}
