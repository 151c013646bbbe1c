#include "FinderWindowTest.h"

#include "app/PasswordWindow.h"
#include "peers/GameServerPeer.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include "ui_PasswordWindow.h"
#include "ui_ServerFinder.h"

#include <QMenu>
#include <QTest>

namespace {

FinderServer server(const QString& name, const QString& gametype, const QString& map, int players,
                    const QString& gameName = QStringLiteral("Call of Duty"))
{
    static int port = 20000;
    return {.name = name, .ip = QStringLiteral("127.0.0.1:%1").arg(++port), .map = map, .gametype = gametype,
            .players = players, .gameName = gameName};
}

QList<CodServerPtr> records(const QList<FinderServer>& servers)
{
    QList<CodServerPtr> made;
    for (const FinderServer& record : servers)
        made.append(record.make());
    return made;
}

class ServerFinderTest : public FinderWindowTest {
protected:
    void SetUp() override
    {
        FinderWindowTest::SetUp();
        finder = &openServerFinder();
        ui = &finder->controls();
    }

    QStringList shown() const { return namesOf(finder->theServers()); }
    int selectedRow() const { return ui->serverTable->selectionModel()->selectedRows().value(0, {}).row(); }

    ServerFinder* finder = nullptr;
    Ui::ServerFinder* ui = nullptr;
};

const QList<FinderServer> codList = {server("Alpha", "dm", "mp_carentan", 3), server("Bravo", "dm", "mp_dawnville", 0),
                                     server("Charlie", "SD", "MP_Harbor", 5)};
const QList<FinderServer> cod2List = {
    server("Delta", "dm", "mp_toujane", 3, "Call of Duty 2"), server("Echo", "ctf", "mp_toujane", 9, "Call of Duty 2"),
    server("Kilo", "dm", "mp_toujane", 5, "Call of Duty 2"), server("Lima", "dm", "mp_toujane", 4, "Call of Duty 2")};

}  // namespace

TEST_F(ServerFinderTest, theFiltersAGameChangeAndAColumnOrderTheShownListAndTheSelectedServerIsJoined)
{
    finder->getTheServersArray({records(codList), {}, records(cod2List), {}});
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"})) << "empty servers are hidden";
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd"}));
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_dawnville", "mp_harbor"}));
    ui->emptySearchButton->click();
    ui->mapSearchBox->setCurrentIndex(3);
    EXPECT_EQ(shown(), QStringList({"Charlie"}));
    ui->serverNameToFind->setText("RAV");
    EXPECT_TRUE(shown().isEmpty());
    ui->serverNameToFind->clear();
    ui->gametypeSearchBox->setCurrentIndex(1);
    EXPECT_TRUE(shown().isEmpty());

    // The chosen gametype stays when the new game has it; the map does not.
    finder->findChild<QRadioButton*>("gameButton-cod2")->click();
    EXPECT_EQ(ui->mapSearchBox->currentText(), "All");
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "dm");
    EXPECT_EQ(shown(), QStringList({"Delta", "Kilo", "Lima"}));

    UserInput::clickColumnTitle(*ui->serverTable, "Players");
    EXPECT_EQ(shown(), QStringList({"Delta", "Lima", "Kilo"}));
    UserInput::clickRow(*ui->serverTable, 1);
    UserInput::clickColumnTitle(*ui->serverTable, "Players");
    EXPECT_EQ(shown(), QStringList({"Kilo", "Lima", "Delta"})) << "a second click reverses the order";
    EXPECT_EQ(selectedRow(), 1) << "the selection stays on its server";
    ui->serverNameToFind->setText("i");
    EXPECT_EQ(shown(), QStringList({"Kilo", "Lima"})) << "filtering keeps the order";
    EXPECT_EQ(selectedRow(), 1);

    ui->joinServerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, cod2Program);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", cod2List.last().ip}));
    ui->addServerButton->click();
    EXPECT_EQ(controller->myServers().last()->serverIp(), cod2List.last().ip);

    ui->serverNameToFind->setText("ilo");
    EXPECT_TRUE(ui->serverTable->selectionModel()->selectedRows().isEmpty());
}

namespace {

// How a setting cell shows its state: "icon", "checked", "unchecked", "partly
// checked" or nothing, then its tooltip.
QString shownState(const QTableView& table, int row, const QString& column)
{
    const QVariant check = cell(table, row, column, Qt::CheckStateRole);
    const QStringList checks = {"unchecked", "partly checked", "checked"};
    const QString shown = !cell(table, row, column, Qt::DecorationRole).value<QPixmap>().isNull() ? "icon"
                          : check.isValid()                                                      ? checks.at(check.toInt())
                                                                                                 : "";
    return shown + ": " + cell(table, row, column, Qt::ToolTipRole).toString();
}

}  // namespace

TEST_F(ServerFinderTest, theSettingColumnsShowTheirStateInsteadOfANumberAndOrderByTheNumber)
{
    const auto withSettings = [](const char* name, const QStringList& settings) {
        const CodServerPtr record = server(name, "dm", "mp_carentan", 1).make();
        record->setServerPassActive(settings[0]);
        record->setServerPunkBuster(settings[1]);
        record->setServerFriendlyFire(settings[2]);
        record->setServerKillCam(settings[3]);
        record->setServerPure(settings[4]);
        return record;
    };
    finder->getTheServersArray({{withSettings("Open", {"0", "0", "0", "0", "0"}),
                                withSettings("Locked", {"1", "1", "1", "1", "1"}),
                                withSettings("Odd", {"2", "3", "2", "", "7"})},
                               {}, {}, {}});
    const QTableView& table = *ui->serverTable;
    const QList<std::pair<QString, QStringList>> expected = {
        {"Pass", {": No password", "icon: Password required", ": No password"}},
        {"PB", {": PunkBuster off", "icon: PunkBuster on", "icon: PunkBuster on"}},
        {"Friendly fire",
         {"unchecked: Friendly fire off", "checked: Friendly fire on", "partly checked: Friendly fire reflected"}},
        {"Kill cam", {"unchecked: Kill cam off", "checked: Kill cam on", "unchecked: Kill cam off"}},
        {"Pure",
         {"unchecked: Not pure: modified game files allowed", "checked: Pure: unmodified game files only",
          "checked: Pure: unmodified game files only"}},
    };
    for (const auto& [column, states] : expected) {
        for (int row = 0; row < states.size(); ++row) {
            EXPECT_EQ(shownState(table, row, column), states[row]) << column.toStdString() << " " << row;
            EXPECT_FALSE(cell(table, row, column).isValid()) << "no number shown";
            EXPECT_FALSE(table.model()->flags(table.model()->index(row, columnTitled(table, column)))
                             .testFlag(Qt::ItemIsUserCheckable));
        }
    }

    UserInput::clickColumnTitle(*ui->serverTable, "Friendly fire");
    UserInput::clickColumnTitle(*ui->serverTable, "Friendly fire");
    EXPECT_EQ(shown(), QStringList({"Odd", "Locked", "Open"}));
    UserInput::clickColumnTitle(*ui->serverTable, "Pure");
    EXPECT_EQ(shown(), QStringList({"Open", "Locked", "Odd"})) << "7 orders after 1";
}

TEST_F(ServerFinderTest, joiningAsksForTheJoinPasswordAsTheMainWindowDoesAndTheContextMenuOffersIt)
{
    QList<CodServerPtr> servers = records({cod2List[0], cod2List[1]});
    servers[1]->setServerPassActive("1");
    finder->getTheServersArray({{}, {}, servers, {}});
    finder->findChild<QRadioButton*>("gameButton-cod2")->click();
    const auto passwordSheet = [this] { return finder->findChild<PasswordWindow*>(); };

    UserInput::clickRow(*ui->serverTable, 1);
    UserInput::click(*ui->joinServerButton);
    ASSERT_NE(passwordSheet(), nullptr) << "a padlocked server asks for its password";
    EXPECT_TRUE(passwordSheet()->isVisible());
    UserInput::typeInto(*passwordSheet()->controls().pPassword, "let me in");
    UserInput::click(*passwordSheet()->controls().okButton);
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments,
              QStringList({"+password", "let me in", "+connect", cod2List[1].ip}));

    // The open server joins at once from the menu's Join, and asks when the user wants.
    QMenu& menu = UserInput::openContextMenu(*ui->serverTable, 0);
    ASSERT_TRUE(UserInput::chooseFromMenu(menu, "joinServer"));
    ASSERT_EQ(desktop->started().size(), 2);
    EXPECT_EQ(desktop->started().last().arguments, QStringList({"+connect", cod2List[0].ip}));
    ASSERT_TRUE(UserInput::chooseFromMenu(UserInput::openContextMenu(*ui->serverTable, 0), "joinServerWithPassword"));
    QTRY_VERIFY(passwordSheet() && passwordSheet()->isVisible());
    EXPECT_EQ(passwordSheet()->controls().pPassword->text(), "let me in") << "the last password is offered";
    UserInput::click(*passwordSheet()->controls().cancelButton);
    EXPECT_EQ(desktop->started().size(), 2) << "cancelled";

    ui->serverNameToFind->setText("nobody");
    EXPECT_FALSE(UserInput::chooseFromMenu(UserInput::openContextMenu(*ui->serverTable, -1), "joinServer"))
        << "without a server the entries are disabled";
}

// Update asks the selected server again on the finder's worker: the window goes on
// meanwhile; an answer redraws the server and offers its map, silence removes it
// after the alert.
TEST_F(ServerFinderTest, updateAsksTheSelectedServerAgainWithoutHoldingTheWindow)
{
    TestPreferences::setTimeout(300000);
    GameServerPeer answering;
    answering.setStatusAnswer({GameServerPeer::statusDatagram(
        "\\sv_hostname\\Alpha\\mapname\\mp_new\\g_gametype\\dm\\gamename\\Call of Duty\n0 40 \"Bob\"\n")});
    GameServerPeer silent;
    silent.setSilent(true);
    FinderServer alpha = server("Alpha", "dm", "mp_carentan", 1);
    alpha.ip = QString::fromLatin1(answering.address());
    FinderServer bravo = server("Bravo", "dm", "mp_dawnville", 1);
    bravo.ip = QString::fromLatin1(silent.address());
    finder->getTheServersArray({records({alpha, bravo}), {}, {}, {}});
    ASSERT_EQ(shown(), QStringList({"Alpha", "Bravo"}));

    UserInput::clickRow(*ui->serverTable, 0);
    UserInput::click(*ui->updateServerButton);
    while (!entries(*ui->mapSearchBox).contains(u"mp_new"))
        QTest::qWait(5);
    EXPECT_EQ(finder->theServers().first()->serverMapName(), "mp_new");

    UserInput::clickRow(*ui->serverTable, 1);
    UserInput::click(*ui->updateServerButton);
    EXPECT_TRUE(alerts->shown().isEmpty()) << "the click returns while the server is asked";
    EXPECT_EQ(shown(), QStringList({"Alpha", "Bravo"}));
    while (alerts->shown().isEmpty())
        QTest::qWait(5);
    EXPECT_EQ(alerts->shown().first().message, "The server must be removed from the list");
    EXPECT_EQ(shown(), QStringList{"Alpha"});
}

TEST_F(ServerFinderTest, aRescanKeepsEveryFilterWhoseValueTheNewListsStillHold)
{
    finder->getTheServersArray({records(codList), {}, {}, {}});
    ui->emptySearchButton->click();
    ui->mapSearchBox->setCurrentIndex(ui->mapSearchBox->findText("mp_dawnville"));
    ui->gametypeSearchBox->setCurrentIndex(ui->gametypeSearchBox->findText("dm"));
    ui->serverNameToFind->setText("o");
    EXPECT_EQ(shown(), QStringList({"Bravo"}));

    const QList<FinderServer> rescan = {server("Bravo", "dm", "mp_dawnville", 2), server("Oscar", "sd", "mp_dawnville", 4),
                                        server("Romeo", "dm", "mp_dawnville", 0)};
    finder->getTheServersArray({records(rescan), {}, {}, {}});
    EXPECT_EQ(ui->mapSearchBox->currentText(), "mp_dawnville");
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "dm");
    EXPECT_EQ(shown(), QStringList({"Bravo", "Romeo"}));

    finder->getTheServersArray({records({server("Sierra", "dm", "mp_harbor", 1)}), {}, {}, {}});
    EXPECT_EQ(ui->mapSearchBox->currentText(), "All") << "a map the lists lost is no filter any more";
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "dm");
    EXPECT_EQ(ui->serverNameToFind->text(), "o");
    EXPECT_TRUE(ui->emptySearchButton->isChecked());
}

// Each letter typed narrows the list shown; erasing one, or a filter let loose, shows
// again what it hid, and a new order is kept by the letters typed after it.
TEST_F(ServerFinderTest, theNameFilterNarrowsLetterByLetterAndWidensAgainInTheTablesOrder)
{
    const QList<CodServerPtr> servers =
        records({server("Alpha", "dm", "mp_carentan", 3), server("Alpine", "dm", "mp_carentan", 2),
                 server("Valhalla", "dm", "mp_carentan", 4), server("Bravo", "dm", "mp_carentan", 1),
                 server("Alpaca", "dm", "mp_carentan", 0)});
    finder->getTheServersArray({servers, {}, {}, {}});
    QLineEdit& name = *ui->serverNameToFind;
    UserInput::click(name);
    const auto type = [&](Qt::Key key) {
        QTest::keyClick(&name, key);
        return shown();
    };
    EXPECT_EQ(type(Qt::Key_A), QStringList({"Alpha", "Alpine", "Valhalla", "Bravo"}));
    EXPECT_EQ(type(Qt::Key_L), QStringList({"Alpha", "Alpine", "Valhalla"}));
    EXPECT_EQ(type(Qt::Key_P), QStringList({"Alpha", "Alpine"}));
    EXPECT_EQ(type(Qt::Key_H), QStringList({"Alpha"}));
    EXPECT_EQ(type(Qt::Key_Backspace), QStringList({"Alpha", "Alpine"}));
    ui->emptySearchButton->click();
    EXPECT_EQ(shown(), QStringList({"Alpha", "Alpine", "Alpaca"})) << "the empty server hidden before";
    ui->emptySearchButton->click();
    EXPECT_EQ(type(Qt::Key_Backspace), QStringList({"Alpha", "Alpine", "Valhalla"}));
    EXPECT_EQ(type(Qt::Key_Backspace), QStringList({"Alpha", "Alpine", "Valhalla", "Bravo"}));

    UserInput::clickColumnTitle(*ui->serverTable, "Players");
    UserInput::clickRow(*ui->serverTable, 3);
    UserInput::click(name);
    EXPECT_EQ(type(Qt::Key_L), QStringList({"Alpine", "Alpha", "Valhalla"}));
    EXPECT_EQ(selectedRow(), 2) << "the selection stays on its server";
    QTest::keyClick(&name, Qt::Key_Home);
    EXPECT_EQ(type(Qt::Key_V), QStringList({"Valhalla"})) << "a letter typed before the others narrows too";
    EXPECT_EQ(selectedRow(), 0);

    finder->getTheServersArray({servers.mid(1), {}, {}, {}});
    EXPECT_EQ(selectedRow(), 0) << "a hand-over keeps the selection on its server";
    EXPECT_EQ(type(Qt::Key_Backspace), QStringList({"Alpine", "Valhalla"}));
}

// A list handed over again grown at its end, as a scan's last hand-over leaves it:
// its new servers show with the others, in the order chosen, counted, with their maps
// offered, and the selection stays on its server.
TEST_F(ServerFinderTest, aListGrownAtItsEndShowsItsNewServersInTheChosenOrderCountedAndOffered)
{
    QList<CodServerPtr> servers = records({server("Alpha", "dm", "mp_carentan", 3),
                                           server("Bravo", "dm", "mp_dawnville", 1)});
    finder->getTheServersArray({servers, {}, {}, {}});
    UserInput::clickColumnTitle(*ui->serverTable, "Players");
    UserInput::clickRow(*ui->serverTable, 1);
    ASSERT_EQ(shown(), QStringList({"Bravo", "Alpha"}));

    servers += records({server("Charlie", "sd", "mp_harbor", 2), server("Delta", "ctf", "MP_Harbor", 9)});
    finder->getTheServersArray({servers, {}, {}, {}});
    EXPECT_EQ(shown(), QStringList({"Bravo", "Charlie", "Alpha", "Delta"}));
    EXPECT_EQ(ui->numberOfServerFound->text(), "4 servers");
    EXPECT_EQ(selectedRow(), 2) << "the selection stays on its server";
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_dawnville", "mp_harbor"}));
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd", "ctf"}));
    ui->mapSearchBox->setCurrentIndex(3);
    EXPECT_EQ(shown(), QStringList({"Charlie", "Delta"})) << "the new servers' maps filter";
}
