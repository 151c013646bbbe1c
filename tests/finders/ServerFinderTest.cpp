#include "FinderWindowTest.h"

#include "peers/GameServerPeer.h"
#include "support/TestPreferences.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

#include <QHeaderView>

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

    void handOver(const QList<FinderServer>& cod, const QList<FinderServer>& uo = {},
                  const QList<FinderServer>& cod2 = {}, const QList<FinderServer>& cod4 = {}) const
    {
        finder->getTheServersArray(records(cod), records(uo), records(cod2), records(cod4));
    }

    QStringList shown() const { return namesOf(finder->theServers()); }

    bool actionsEnabled() const
    {
        return ui->joinServerButton->isEnabled() && ui->addServerButton->isEnabled()
            && ui->updateServerButton->isEnabled();
    }

    ServerFinder* finder = nullptr;
    Ui::ServerFinder* ui = nullptr;
};

const QList<FinderServer> codList = {server("Alpha", "dm", "mp_carentan", 3), server("Bravo", "dm", "mp_dawnville", 0),
                                     server("Charlie", "SD", "MP_Harbor", 5)};

}  // namespace

TEST_F(ServerFinderTest, eachGameShowsItsServersThroughTheFiltersAndAGameChangeKeepsTheChosenGametype)
{
    handOver(codList, {server("Hotel", "sd", "mp_bocage", 2, "CoD:United Offensive")},
             {server("Delta", "dm", "mp_toujane", 4, "Call of Duty 2"), server("Echo", "ctf", "mp_burgundy", 4)},
             {server("Foxtrot", "DM", "mp_crash", 8), server("Golf", "war", "mp_crash", 8)});
    EXPECT_EQ(ui->numberOfCod4Servers->text(), "2 servers");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"})) << "empty servers are hidden";
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd"}));
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_dawnville", "mp_harbor"}));
    ui->emptySearchButton->click();
    ui->mapSearchBox->setCurrentIndex(3);
    EXPECT_EQ(shown(), QStringList({"Charlie"}));
    ui->serverNameToFind->setText("RAV");
    EXPECT_TRUE(shown().isEmpty());
    ui->serverNameToFind->clear();

    ui->cod2GameButton->click();
    EXPECT_EQ(ui->mapSearchBox->currentText(), "All") << "CoD2 has no mp_harbor";
    ui->gametypeSearchBox->setCurrentIndex(1);
    EXPECT_EQ(shown(), QStringList({"Delta"}));
    ui->cod4GameButton->click();
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "dm");
    EXPECT_EQ(shown(), QStringList({"Foxtrot"}));
    ui->uoGameButton->click();
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "All");
    EXPECT_EQ(shown(), QStringList({"Hotel"}));
}

TEST_F(ServerFinderTest, whileAScanRunsTheShownListIsFrozenAndTheLastHandOverRebuildsIt)
{
    const QList<FinderServer> grown = codList + QList{server("India", "tdm", "mp_brecourt", 7)};
    handOver(codList);
    setScanning(true);
    EXPECT_TRUE(ui->filtersBox->isHidden());
    EXPECT_FALSE(ui->codUpdateButton->isEnabled());
    handOver(grown);
    EXPECT_EQ(ui->numberOfCodServers->text(), "4 servers");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"}));
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd"}));
    ui->serverTable->selectRow(1);
    EXPECT_FALSE(actionsEnabled());

    controller->setCodMasterIsRefreshing(false);
    handOver(grown);
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie", "India"}));
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd", "tdm"}));
    EXPECT_FALSE(ui->filtersBox->isHidden());
    EXPECT_TRUE(ui->codUpdateButton->isEnabled());

    // The controller hands its own lists, empty here, to every open finder.
    PlayerFinder& playerFinder = openPlayerFinder();
    playerFinder.getTheServersArray({server("Juliet", "dm", "mp_crash", 2).make()}, {}, {}, {});
    emit controller->masterListsChanged();
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(playerFinder.controls().numberOfCodServers->text(), "0 servers");
}

TEST_F(ServerFinderTest, aColumnOrdersTheShownListAndTheSelectionFollowsTheServerThatIsJoinedAndAdded)
{
    const QList<FinderServer> cod2List = {server("Alpha", "dm", "mp_toujane", 3, "Call of Duty 2"),
                                          server("Charlie", "dm", "mp_toujane", 5, "Call of Duty 2"),
                                          server("Kilo", "dm", "mp_toujane", 4, "Call of Duty 2")};
    handOver({}, {}, cod2List);
    ui->cod2GameButton->click();
    QHeaderView& header = *ui->serverTable->horizontalHeader();
    const int players = 5;
    ASSERT_EQ(ui->serverTable->model()->headerData(players, Qt::Horizontal), "Players");
    header.setSortIndicator(players, Qt::DescendingOrder);
    EXPECT_EQ(shown(), QStringList({"Charlie", "Kilo", "Alpha"}));
    ui->serverTable->selectRow(2);
    header.setSortIndicator(players, Qt::AscendingOrder);
    EXPECT_EQ(shown(), QStringList({"Alpha", "Kilo", "Charlie"}));
    ui->serverNameToFind->setText("a");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"})) << "filtering keeps the order";
    EXPECT_EQ(selectedRow(*ui->serverTable), 0);

    ui->joinServerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, cod2Program);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect " + cod2List.first().ip}));
    ui->addServerButton->click();
    EXPECT_EQ(controller->myServers().last()->serverIp(), cod2List.first().ip);
    EXPECT_EQ(controller->myServers().last()->serverName(), "Alpha");

    ui->serverNameToFind->setText("harl");
    EXPECT_EQ(selectedRow(*ui->serverTable), -1);
    EXPECT_FALSE(actionsEnabled());
}

TEST_F(ServerFinderTest, aServerQueriedAgainOffersItsNewChoicesOrLeavesTheListWhenItIsSilent)
{
    TestPreferences::setTimeout(200000);
    GameServerPeer answering;
    answering.setStatusAnswer({GameServerPeer::statusDatagram(
        "\\sv_hostname\\Answering\\gamename\\Call of Duty\\mapname\\mp_Brecourt\\g_gametype\\HQ"
        "\\sv_maxclients\\16\n1 40 \"Zorro\"\n")});
    GameServerPeer silent;
    silent.setSilent(true);
    handOver({{.name = "Answering", .ip = QString::fromLatin1(answering.address()), .players = 2},
              {.name = "Silent", .ip = QString::fromLatin1(silent.address()), .players = 2}});

    ui->serverTable->selectRow(0);
    ui->updateServerButton->click();
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "HQ"}));
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_Brecourt"}));
    EXPECT_EQ(cell(*ui->serverTable, 0, "Players"), QVariant("1/16"));

    ui->serverTable->selectRow(1);
    ui->updateServerButton->click();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Server refresh problem");
    EXPECT_EQ(shown(), QStringList({"Answering"}));
    EXPECT_EQ(ui->numberOfCodServers->text(), "1 servers");
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "hq"})) << "rebuilt from the answers";
}
