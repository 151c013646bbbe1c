#include "FinderWindowTest.h"

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

    QStringList shown() const { return namesOf(finder->theServers()); }

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
    finder->getTheServersArray(records(codList), {}, records(cod2List), {});
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
    ui->cod2GameButton->click();
    EXPECT_EQ(ui->mapSearchBox->currentText(), "All");
    EXPECT_EQ(ui->gametypeSearchBox->currentText(), "dm");
    EXPECT_EQ(shown(), QStringList({"Delta", "Kilo", "Lima"}));

    QHeaderView& header = *ui->serverTable->horizontalHeader();
    const int players = 5;
    ASSERT_EQ(ui->serverTable->model()->headerData(players, Qt::Horizontal), "Players");
    header.setSortIndicator(players, Qt::DescendingOrder);
    EXPECT_EQ(shown(), QStringList({"Kilo", "Lima", "Delta"}));
    ui->serverTable->selectRow(1);
    header.setSortIndicator(players, Qt::AscendingOrder);
    EXPECT_EQ(shown(), QStringList({"Delta", "Lima", "Kilo"}));
    ui->serverNameToFind->setText("i");
    EXPECT_EQ(shown(), QStringList({"Lima", "Kilo"})) << "filtering keeps the order";
    EXPECT_EQ(ui->serverTable->selectionModel()->selectedRows().value(0).row(), 0);

    ui->joinServerButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().program, cod2Program);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect " + cod2List.last().ip}));
    ui->addServerButton->click();
    EXPECT_EQ(controller->myServers().last()->serverIp(), cod2List.last().ip);

    ui->serverNameToFind->setText("ilo");
    EXPECT_TRUE(ui->serverTable->selectionModel()->selectedRows().isEmpty());
}
