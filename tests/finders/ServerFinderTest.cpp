#include "FinderWindowTest.h"

#include "peers/GameServerPeer.h"
#include "support/TestPreferences.h"

#include "ui_ServerFinder.h"

#include <QHeaderView>

namespace {

FinderServer server(const QString& name, const QString& gametype, const QString& map, int players,
                    const QString& gameName = QStringLiteral("Call of Duty"))
{
    static int port = 20000;
    FinderServer record;
    record.name = name;
    record.ip = QStringLiteral("127.0.0.1:%1").arg(++port);
    record.gametype = gametype;
    record.map = map;
    record.players = players;
    record.gameName = gameName;
    return record;
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
        const auto make = [](const QList<FinderServer>& servers) {
            QList<CodServerPtr> records;
            for (const FinderServer& record : servers)
                records.append(record.make());
            return records;
        };
        finder->getTheServersArray(make(cod), make(uo), make(cod2), make(cod4));
    }

    QStringList shown() const { return namesOf(finder->theServers()); }

    int column(const QString& title) const
    {
        const QAbstractItemModel& model = *ui->serverTable->model();
        for (int section = 0; section < model.columnCount(); ++section) {
            if (model.headerData(section, Qt::Horizontal).toString() == title)
                return section;
        }
        throw std::runtime_error("no column " + title.toStdString());
    }

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
    EXPECT_EQ(ui->numberOfCodServers->text(), "3 servers");
    EXPECT_EQ(ui->numberOfUOServers->text(), "1 servers");
    EXPECT_EQ(ui->numberOfCod4Servers->text(), "2 servers");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"})) << "empty servers are hidden";
    EXPECT_EQ(ui->numberOfServerFound->text(), "2 servers");
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd"}));
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_dawnville", "mp_harbor"}));
    ui->emptySearchButton->click();
    ui->mapSearchBox->setCurrentIndex(3);
    EXPECT_EQ(shown(), QStringList({"Charlie"}));
    ui->serverNameToFind->setText("RAV");
    EXPECT_TRUE(shown().isEmpty());
    ui->serverNameToFind->clear();

    ui->cod2GameButton->click();
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "ctf"}));
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
    handOver(codList);
    ui->serverTable->selectRow(0);
    EXPECT_TRUE(actionsEnabled());

    setScanning(true);
    EXPECT_TRUE(ui->filtersBox->isHidden());
    EXPECT_FALSE(ui->updateInProgress->isHidden());
    EXPECT_FALSE(ui->codUpdateButton->isEnabled());
    EXPECT_FALSE(ui->cod4GameButton->isEnabled());
    EXPECT_TRUE(ui->codStopButton->isEnabled());
    EXPECT_FALSE(actionsEnabled());
    handOver(codList + QList{server("India", "tdm", "mp_brecourt", 7)});
    EXPECT_EQ(ui->numberOfCodServers->text(), "4 servers");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"}));
    EXPECT_EQ(ui->numberOfServerFound->text(), "2 servers");
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd"}));
    ui->serverTable->selectRow(1);
    EXPECT_FALSE(actionsEnabled());

    controller->setCodMasterIsRefreshing(false);
    handOver(codList + QList{server("India", "tdm", "mp_brecourt", 7)});
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie", "India"}));
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "sd", "tdm"}));
    EXPECT_FALSE(ui->filtersBox->isHidden());
    EXPECT_TRUE(ui->updateInProgress->isHidden());
    EXPECT_TRUE(ui->codUpdateButton->isEnabled());

    // The controller hands its own lists, empty here, to every open finder.
    PlayerFinder& playerFinder = openPlayerFinder();
    playerFinder.getTheServersArray({server("Juliet", "dm", "mp_crash", 2).make()}, {}, {}, {});
    emit controller->masterListsChanged();
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(ui->numberOfCodServers->text(), "0 servers");
    EXPECT_EQ(control<QLabel>(playerFinder, "numberOfCodServers").text(), "0 servers");
}

TEST_F(ServerFinderTest, aColumnOrdersTheShownListAndTheSelectionFollowsItsServer)
{
    handOver(codList + QList{server("Kilo", "dm", "mp_crash", 4)});
    QHeaderView& header = *ui->serverTable->horizontalHeader();
    header.setSortIndicator(column("Players"), Qt::DescendingOrder);
    EXPECT_EQ(shown(), QStringList({"Charlie", "Kilo", "Alpha"}));
    ui->serverTable->selectRow(2);
    header.setSortIndicator(column("Players"), Qt::AscendingOrder);
    EXPECT_EQ(shown(), QStringList({"Alpha", "Kilo", "Charlie"}));
    EXPECT_EQ(selectedRow(*ui->serverTable), 0);
    ui->serverNameToFind->setText("a");
    EXPECT_EQ(shown(), QStringList({"Alpha", "Charlie"})) << "filtering keeps the order";
    EXPECT_EQ(selectedRow(*ui->serverTable), 0);
    EXPECT_EQ(cell(*ui->serverTable, 0, "Players"), QVariant("3/20"));
    ui->serverNameToFind->setText("harl");
    EXPECT_EQ(selectedRow(*ui->serverTable), -1);
    EXPECT_FALSE(actionsEnabled());
}

TEST_F(ServerFinderTest, theSelectedServerIsJoinedWithoutPasswordAndAddedToTheFavouritesOnce)
{
    const FinderServer delta = server("Delta", "dm", "mp_toujane", 4, "Call of Duty 2");
    handOver({}, {}, {delta});
    ui->cod2GameButton->click();
    ui->serverTable->selectRow(0);
    ui->joinServerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, cod2Program);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect " + delta.ip}));

    const qsizetype favourites = controller->myServers().size();
    ui->addServerButton->click();
    ui->addServerButton->click();
    ASSERT_EQ(controller->myServers().size(), favourites + 1);
    const CodServerPtr added = controller->myServers().last();
    EXPECT_EQ(added->serverIp(), delta.ip);
    EXPECT_EQ(added->serverName(), "Delta");
    EXPECT_EQ(added->serverPass(), "");
    EXPECT_TRUE(alerts->shown().isEmpty());
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
    FinderServer first = server("Answering", "dm", "mp_carentan", 2);
    first.ip = QString::fromLatin1(answering.address());
    FinderServer second = server("Silent", "dm", "mp_carentan", 2);
    second.ip = QString::fromLatin1(silent.address());
    handOver({first, second});

    ui->serverTable->selectRow(0);
    ui->updateServerButton->click();
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "dm", "HQ"}));
    EXPECT_EQ(entries(*ui->mapSearchBox), QStringList({"All", "mp_carentan", "mp_Brecourt"}));
    EXPECT_EQ(shown(), QStringList({"Answering", "Silent"}));
    EXPECT_EQ(cell(*ui->serverTable, 0, "Players"), QVariant("1/16"));

    ui->serverTable->selectRow(1);
    ui->updateServerButton->click();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Server refresh problem");
    EXPECT_EQ(alerts->shown().first().message, "The server must be removed from the list");
    EXPECT_EQ(alerts->shown().first().defaultButton, "Argh");
    EXPECT_EQ(shown(), QStringList({"Answering"}));
    EXPECT_EQ(ui->numberOfCodServers->text(), "1 servers");
    EXPECT_EQ(entries(*ui->gametypeSearchBox), QStringList({"All", "hq"})) << "rebuilt from the answers";
}
