#include "MainWindowFixture.h"

#include "app/InfoWindow.h"
#include "launch/GameApplications.h"
#include "peers/GameServerPeer.h"

#include "ui_InfoWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

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
    bool drawerIsOpen() const { return !control<QDockWidget>("rconDrawer").isHidden(); }
    QStringList itemsOf(const char* comboName) const
    {
        const QComboBox& combo = control<QComboBox>(comboName);
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items.append(combo.itemText(i));
        return items;
    }
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
    select(0);
    const QList<std::pair<int, QString>> outcomes = {
        {CodServer::NeverContacted, "Server has not been refreshed"},
        {CodServer::Answered, "Update in progress please wait and try again"},
        {CodServer::RconFailed, "Problem to send a rcon command (two consecutive refresh, latency too low, ...)"},
        {CodServer::Unreachable, "Problem to contact the server (bad ip, map rotation,...)"},
    };
    for (const auto& [commError, status] : outcomes) {
        alpha->setCommError(commError);
        redraw();
        const bool answered = commError == CodServer::Answered || commError == CodServer::RconFailed;
        EXPECT_EQ(statusLine(), status);
        EXPECT_EQ(text("numberOfPlayers"), answered ? "2/16" : "");
        EXPECT_EQ(QList<bool>({shows("viewGameType"), shows("viewPunkbuster")}), QList<bool>(2, answered))
            << status.toStdString();
    }
    EXPECT_EQ(text("currentMap"), "mp_carentan") << "an unreachable server keeps its last map";

    alpha->setCommError(CodServer::Answered);
    alpha->setLastUpdate(QDateTime(QDate(2024, 5, 17), QTime(21, 4, 9)));
    alpha->setServerPunkBuster("2");
    redraw();
    EXPECT_EQ(statusLine(), "Last update: " + alpha->lastUpdateText());
    EXPECT_FALSE(shows("viewPunkbuster")) << "only the exact flag shows the icon";

    select(-1);
    EXPECT_TRUE(statusLine().isEmpty() && text("currentMap").isEmpty());
}

TEST_F(AdministrationPanel, buttonsAndDrawerFollowTheSelectionTheOutcomeAndTheInstalledGames)
{
    desktop->installApplication(GameApplications::urbanTerror, "/usr/games/urbanterror");
    startWith({server("Plain", "10.0.0.1:28960"), server("Admin", nobodyAnswers, "rcon")});
    EXPECT_EQ(serverButtons(), QList<bool>(5, false));

    select(0);
    EXPECT_EQ(serverButtons(), QList<bool>({true, true, true, false, false}));
    EXPECT_FALSE(drawerIsOpen());
    setAnswered(*favourite(0), "q3ut4");
    redraw();
    EXPECT_EQ(serverButtons(), QList<bool>(5, true));
    EXPECT_TRUE(control<QAction>("infoOnServer").isEnabled()) << "the menu command follows its button";
    favourite(0)->setServerGameName("Call of Duty 4");
    redraw();
    EXPECT_FALSE(isEnabled("goToServerButton")) << "not installed";
    favourite(0)->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_FALSE(isEnabled("infoServerButton") || control<QAction>("infoOnServer").isEnabled());

    control<QComboBox>("mapListComboBox").setEditText("typed by hand");
    select(1);
    EXPECT_TRUE(drawerIsOpen());
    EXPECT_TRUE(control<QComboBox>("mapListComboBox").currentText().isEmpty()) << "each drawer starts afresh";
    setAnswered(*favourite(1), "UT2004");
    redraw();
    EXPECT_FALSE(drawerIsOpen());

    select(-1);
    EXPECT_EQ(serverButtons(), QList<bool>(5, false));
    EXPECT_FALSE(drawerIsOpen());
}

TEST_F(AdministrationPanel, gametypeListsFollowTheGameAndTheAWEBox)
{
    startWith({server("Admin", nobodyAnswers, "rcon")});
    const CodServerPtr admin = favourite(0);
    select(0);
    control<QCheckBox>("AWEButton").setChecked(true);
    const QList<std::pair<QString, QStringList>> lists = {
        {"Call of Duty 2", controller->cod2GameTypeArray() + controller->AWEGameTypeArray()},
        {"Call of Duty 4", controller->cod4GameTypeArray()},
        {"q3ut4", {}},
    };
    for (const auto& [game, gametypes] : lists) {
        setAnswered(*admin, game);
        redraw();
        EXPECT_EQ(itemsOf("gametypeListComboBox"), gametypes) << game.toStdString();
    }
    admin->setCommError(CodServer::Unreachable);
    redraw();
    EXPECT_TRUE(itemsOf("gametypeListComboBox").isEmpty());

    setAnswered(*admin, "Call of Duty 2");
    redraw();
    control<QComboBox>("gametypeListComboBox").setEditText("war");
    control<QCheckBox>("AWEButton").setChecked(false);
    EXPECT_EQ(itemsOf("gametypeListComboBox"), controller->cod2GameTypeArray());
    EXPECT_EQ(control<QComboBox>("gametypeListComboBox").currentText(), "war") << "the box keeps what was typed";
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
    EXPECT_EQ(itemsOf("execComboBox"), QStringList({"promod.cfg", "public.cfg"}));
    EXPECT_EQ(control<QComboBox>("execComboBox").currentIndex(), -1);
    QComboBox& maps = control<QComboBox>("mapListComboBox");
    EXPECT_EQ(maps.currentText(), "mp_carentan");

    maps.setEditText("mp_typed");
    favourite(0)->mapListRefresh();
    EXPECT_EQ(itemsOf("mapListComboBox"), QStringList({"mp_harbor", "mp_carentan"}));
    EXPECT_EQ(maps.currentText(), "mp_typed");

    controller->updateMapListComboBox(favourite(1));
    EXPECT_EQ(itemsOf("mapListComboBox"), QStringList({"mp_harbor", "mp_carentan"})) << "only the selected's list";
}

TEST_F(AdministrationPanel, detailsSheetShowsWhatTheServerToldAndCopesWithEnormousFields)
{
    const QString enormous(200000, u'x');
    startWith({server("Alpha", "10.0.0.1:28960"), server(enormous, nobodyAnswers, enormous)});
    setAnswered(*favourite(0), "Call of Duty 2");
    favourite(0)->setServerPassActive("1");
    select(0);
    clickButton("infoServerButton");
    const Ui::InfoWindow& details = window->infoWindow().controls();
    ASSERT_TRUE(window->infoWindow().isVisible());
    EXPECT_EQ(details.infoIP->text() + details.infoPing->text(), "10.0.0.1:28960 42 ms");
    EXPECT_EQ(details.infoNumberOfPlayers->text(), "2 players");
    EXPECT_TRUE(details.infoPassword->isChecked() && !details.infoPunkbuster->isChecked());
    details.closeButton->click();

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
