#include "FinderWindowTest.h"

#include "support/UserInput.h"

#include "ui_PlayerFinder.h"
#include "ui_ServerFinder.h"

#include <QApplication>
#include <QTest>

namespace {

class FinderKeysTest : public FinderWindowTest {
protected:
    // The server finder with two servers of players shown and the first selected.
    ServerFinder& serverFinderWithSelection() const
    {
        ServerFinder& finder = openServerFinder();
        finder.getTheServersArray({
            {FinderServer{.name = "Alpha", .ip = "127.0.0.1:23001"}.make(),
             FinderServer{.name = "Bravo", .ip = "127.0.0.1:23002"}.make()},
            {}, {}, {}});
        UserInput::clickRow(*finder.controls().serverTable, 0);
        return finder;
    }

    static int selectedRow(const QTableView& table)
    {
        return table.selectionModel()->selectedRows().value(0, {}).row();
    }
};

}  // namespace

TEST_F(FinderKeysTest, tabLeavesAFindersTableAndArrowsMoveItsSelection)
{
    ServerFinder& finder = serverFinderWithSelection();
    QTableView& table = *finder.controls().serverTable;
    ASSERT_EQ(QApplication::focusWidget(), &table);
    QTest::keyClick(&table, Qt::Key_Down);
    EXPECT_EQ(selectedRow(table), 1);
    QTest::keyClick(&table, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), &table) << "one Tab leaves the table";
    EXPECT_EQ(selectedRow(table), 1) << "and leaves the selection where it was";
}

TEST_F(FinderKeysTest, escapeAndCtrlWCloseEitherFinderAndItOpensAgainWhereItWasLeft)
{
    ServerFinder& serverFinder = serverFinderWithSelection();
    QTest::keyClick(serverFinder.controls().serverTable, Qt::Key_Escape);
    EXPECT_FALSE(serverFinder.isVisible());

    PlayerFinder& playerFinder = openPlayerFinder();
    UserInput::typeInto(*playerFinder.controls().playerToFindBox, "someone");
    QTest::keyClick(playerFinder.controls().playerToFindBox, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(playerFinder.isVisible());

    const QPoint left = serverFinder.pos() + QPoint(30, 20);
    openServerFinder();
    serverFinder.move(left);
    UserInput::click(*serverFinder.controls().serverTable);
    QTest::keyClick(serverFinder.controls().serverTable, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(serverFinder.isVisible());
    openServerFinder();
    EXPECT_EQ(serverFinder.pos(), left);
}

TEST_F(FinderKeysTest, aFinderOpensBesideOrJustBelowTheMainWindowNotInTheScreensCorner)
{
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.topLeft() + QPoint(10, 10));
    const QRect main = window->frameGeometry();
    const QRect placed = openPlayerFinder().frameGeometry();
    EXPECT_TRUE(screen.contains(placed.topLeft())) << "the finder's corner is on the screen";
    EXPECT_NE(placed.topLeft(), screen.topLeft());
    EXPECT_TRUE(placed.left() > main.right() || placed.top() > main.top())
        << "beside the main window, or over it a little lower when the screen has no room";
}
