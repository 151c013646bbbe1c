#include "MainWindowFixture.h"

#include "app/InfoWindow.h"
#include "launch/GameApplications.h"
#include "peers/GameServerPeer.h"

#include "ui_InfoWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
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
    bool drawerIsOpen() const { return !control<QDockWidget>("rconDrawer").isHidden(); }
    // The buttons that need a selected favourite: modify, delete, refresh, details, join.
    QList<bool> serverButtons() const
    {
        QList<bool> enabled;
        for (const char* button : {"modifyServerButton", "deleteServerButton", "refreshServerButton",
                                   "infoServerButton", "goToServerButton"})
            enabled.append(isEnabled(button));
        return enabled;
    }
};

TEST_F(AdministrationPanel, statusLineAndSummaryTellTheOutcomeOfTheLastExchange)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    const CodServerPtr alpha = favourite(0);
    setAnswered(*alpha, "Call of Duty");
    alpha->setServerPunkBuster("1");
    alpha->setServerPassActive("1");
    select(0);

    struct Outcome {
        int commError;
        QString statusLine;
        QString players;
        bool icons;
    };
    const QList<Outcome> outcomes = {
        {CodServer::NeverContacted, "Server has not been refreshed", "", false},
        {CodServer::Answered, "Update in progress please wait and try again", "2/16", true},
        {CodServer::RconFailed, "Problem to send a rcon command (two consecutive refresh, latency too low, ...)",
         "2/16", true},
        {CodServer::Unreachable, "Problem to contact the server (bad ip, map rotation,...)", "", false},
    };
    for (const Outcome& outcome : outcomes) {
        alpha->setCommError(outcome.commError);
        redraw();
        EXPECT_EQ(statusLine(), outcome.statusLine);
        EXPECT_EQ(text("numberOfPlayers"), outcome.players);
        EXPECT_EQ(QList<bool>({shows("viewGameType"), shows("viewPunkbuster"), shows("viewPassword")}),
                  QList<bool>(3, outcome.icons));
    }
    EXPECT_EQ(text("currentMap"), "mp_carentan") << "an unreachable server keeps its last map";

    alpha->setCommError(CodServer::Answered);
    alpha->setLastUpdate(QDateTime(QDate(2024, 5, 17), QTime(21, 4, 9)));
    redraw();
    EXPECT_EQ(text("currentPing"), "Ping:  42 ms");
    EXPECT_EQ(control<QLabel>("viewGameType").pixmap().toImage(), controller->gameImage(GameKind::CoD).toImage());
    EXPECT_EQ(statusLine(), "Last update: " + alpha->lastUpdateText());
    alpha->setServerPunkBuster("2");
    redraw();
    EXPECT_FALSE(shows("viewPunkbuster")) << "only the exact flag shows the icon";

    select(-1);
    EXPECT_TRUE(statusLine().isEmpty() && text("currentMap").isEmpty());
}

TEST_F(AdministrationPanel, buttonsAndDrawerFollowTheSelectionTheOutcomeAndTheInstalledGames)
{
    desktop->installApplication(GameApplications::urbanTerror, "/usr/games/urbanterror");
    startWith({server("Plain", "10.0.0.1:28960"), server("Admin", nobodyAnswers, "rcon")});
    EXPECT_EQ(serverButtons(), QList<bool>({false, false, false, false, false}));

    select(0);
    EXPECT_EQ(serverButtons(), QList<bool>({true, true, true, false, false}));
    EXPECT_FALSE(drawerIsOpen());
    setAnswered(*favourite(0), "q3ut4");
    redraw();
    EXPECT_EQ(serverButtons(), QList<bool>({true, true, true, true, true}));
    for (const char* notInstalled : {"Call of Duty 4", "etpro", "UT2004", ""}) {
        favourite(0)->setServerGameName(notInstalled);
        redraw();
        EXPECT_FALSE(isEnabled("goToServerButton")) << notInstalled;
    }
    favourite(0)->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_FALSE(isEnabled("infoServerButton"));

    combo("mapListComboBox").setEditText("typed by hand");
    select(1);
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_TRUE(combo("mapListComboBox").currentText().isEmpty()) << "another server's drawer starts afresh";
    setAnswered(*favourite(1), "Call of Duty 2");
    redraw();
    EXPECT_EQ(combo("mapListComboBox").currentText(), "mp_carentan");
    setAnswered(*favourite(1), "UT2004");
    redraw();
    EXPECT_FALSE(drawerIsOpen());

    select(-1);
    EXPECT_EQ(serverButtons(), QList<bool>({false, false, false, false, false}));
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
        {"CoD:United Offensive", controller->uoGameTypeArray() + controller->AWEGameTypeArray()},
        {"Call of Duty 2", controller->cod2GameTypeArray() + controller->AWEGameTypeArray()},
        {"Call of Duty 4", controller->cod4GameTypeArray()},
        {"q3ut4", {}},
    };
    for (const auto& [game, gametypes] : lists) {
        setAnswered(*admin, game);
        admin->setCommError(CodServer::RconFailed);
        redraw();
        EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), gametypes) << game.toStdString();
        EXPECT_EQ(combo("gametypeListComboBox").currentText(), "tdm");
    }
    admin->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_TRUE(itemsOf(combo("gametypeListComboBox")).isEmpty());

    setAnswered(*admin, "Call of Duty 2");
    redraw();
    combo("gametypeListComboBox").setEditText("war");
    awe.setChecked(false);
    EXPECT_EQ(itemsOf(combo("gametypeListComboBox")), controller->cod2GameTypeArray());
    EXPECT_EQ(combo("gametypeListComboBox").currentText(), "war") << "toggling the box keeps what the user typed";
}

TEST_F(AdministrationPanel, drawerListsTheFilesAndMapsTheServerListsThroughItsConsole)
{
    const auto listing = [](const QByteArray& lines) {
        return GameServerPeer::printDatagram("---------------\n" + lines + "files listed\n");
    };
    GameServerPeer peer;
    peer.setRconPassword("secret");
    peer.setRconAnswer("fdir /[a-z]*.cfg", {listing("/promod.cfg\n/language.cfg\n/public.cfg\n")});
    peer.setRconAnswer("fdir maps/mp*.bsp", {listing("maps/mp/mp_harbor.bsp\nmaps/mp/mp_carentan.bsp\n")});
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Admin\\gamename\\Call of Duty"
                                                         "\\mapname\\mp_carentan\\g_gametype\\tdm\n")});
    startWith({server("Admin", QString::fromLatin1(peer.address()), "secret"),
               server("Other", "10.0.0.3:28960", "secret")});
    // Administered, it is refreshed on selection, which lists its files at once.
    select(0);
    QComboBox& maps = combo("mapListComboBox");
    EXPECT_EQ(itemsOf(combo("execComboBox")), QStringList({"promod.cfg", "public.cfg"}));
    EXPECT_EQ(combo("execComboBox").currentIndex(), -1);
    EXPECT_EQ(maps.currentText(), "mp_carentan");

    maps.setEditText("mp_typed");
    favourite(0)->mapListRefresh();
    EXPECT_EQ(itemsOf(maps), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(maps.currentText(), "mp_typed");

    controller->updateMapListComboBox(favourite(1));
    EXPECT_EQ(itemsOf(maps), QStringList({"mp_harbor", "mp_carentan"})) << "only the selected server's list shows";
}

TEST_F(AdministrationPanel, detailsSheetShowsWhatTheServerToldAndCopesWithEnormousFields)
{
    const QString enormous(200000, u'x');
    startWith({server("Alpha", "10.0.0.1:28960"), server(enormous, nobodyAnswers, enormous)});
    setAnswered(*favourite(0), "Call of Duty 2");
    favourite(0)->setServerPunkBuster("1");
    favourite(0)->setServerPassActive("0");
    select(0);

    clickButton("infoServerButton");
    InfoWindow& sheet = window->infoWindow();
    ASSERT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    const Ui::InfoWindow& details = sheet.controls();
    EXPECT_EQ(details.infoIP->text(), "10.0.0.1:28960");
    EXPECT_EQ(details.infoPing->text(), " 42 ms");
    EXPECT_EQ(details.infoNumberOfPlayers->text(), "2 players");
    EXPECT_TRUE(details.infoPunkbuster->isChecked() && !details.infoPassword->isChecked());
    details.closeButton->click();
    EXPECT_FALSE(sheet.isVisible());

    // Administered, it is refreshed on selection; nobody answers, then it is given
    // its enormous status.
    select(1);
    setAnswered(*favourite(1), enormous);
    favourite(1)->setServerMapName(enormous);
    redraw();
    EXPECT_EQ(cell(favourites(), 1, "Name").toString(), enormous);
    EXPECT_EQ(text("currentMap"), enormous);
    controller->infoOnServer();
    EXPECT_EQ(details.infoName->toPlainText(), enormous);
}
