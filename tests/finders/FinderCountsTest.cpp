#include "FinderWindowTest.h"

#include "finders/PlayerColumns.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

TEST_F(FinderWindowTest, bothFindersCountOneServerInTheSingularAndGroupLargeCountsAsTheScansDo)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ServerFinder& servers = openServerFinder();
    PlayerFinder& players = openPlayerFinder();
    const QList<CodServerPtr> one = {FinderServer{.name = "Alpha", .players = 2}.make()};
    const QList<CodServerPtr> two = one + QList<CodServerPtr>{FinderServer{.name = "Bravo", .players = 2}.make()};
    const QList<CodServerPtr> many(1689, one.first());
    servers.getTheServersArray({one, two, {}, many});
    players.getTheServersArray({one, two, {}, many});
    EXPECT_EQ(servers.findChild<QLabel*>("serverCount-cod")->text(), "1 server");
    EXPECT_EQ(servers.findChild<QLabel*>("serverCount-uo")->text(), "2 servers");
    EXPECT_EQ(servers.findChild<QLabel*>("serverCount-cod2")->text(), "0 servers");
    EXPECT_EQ(servers.findChild<QLabel*>("serverCount-cod4")->text(), "1,689 servers");
    EXPECT_EQ(players.findChild<QLabel*>("serverCount-cod")->text(), "1 server");
    EXPECT_EQ(players.findChild<QLabel*>("serverCount-uo")->text(), "2 servers");
    EXPECT_EQ(players.findChild<QLabel*>("serverCount-cod4")->text(), "1,689 servers");
    QLocale::setDefault(before);
}

TEST(PlayerColumnsTest, theAgeOfAnAnswerReadsInSecondsThenInMinutes)
{
    for (const auto& [seconds, age] : {std::pair{0.0, "0 s"}, {59.4, "59 s"}, {60.0, "> 1 min"}, {125.0, "> 2 min"},
                                       {7200.0, "> 120 min"}})
        EXPECT_EQ(PlayerColumns::ageText(seconds).toStdString(), age) << seconds;
}
