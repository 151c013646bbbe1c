#include "MainWindowFixture.h"

#include "peers/GameServerPeer.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include "ui_NewModifyWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

class StatusBarTest : public MainWindowFixture {
protected:
    QStatusBar& statusBar() const { return *window->statusBar(); }
    // Opens, from the menu bar, the menu that holds the command.
    QMenu& openMenuHolding(const char* command) const
    {
        QMenuBar& bar = *window->menuBar();
        for (QAction* title : bar.actions()) {
            if (title->menu() && title->menu()->actions().contains(&control<QAction>(command))) {
                QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(title).center());
                return *title->menu();
            }
        }
        throw std::runtime_error("no menu holds the command");
    }
};

TEST_F(StatusBarTest, aMenuCommandsTipShowsWhileItIsPointedAtAndThenTheLastOutcomeAgain)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    UserInput::clickRow(favourites(), 0);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(outcome(), "Copied Alpha");

    QMenu& server = openMenuHolding("refreshServer");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&server));
    QTest::mouseMove(&server, server.actionGeometry(&control<QAction>("refreshServer")).center());
    EXPECT_EQ(statusBar().currentMessage(), "Refresh (F5)");
    EXPECT_FALSE(control<QLabel>("actionOutcome").isVisible()) << "the tip covers the outcome";
    QTest::keyClick(&server, Qt::Key_Escape);
    EXPECT_TRUE(statusBar().currentMessage().isEmpty());
    EXPECT_TRUE(control<QLabel>("actionOutcome").isVisible());
    EXPECT_EQ(outcome(), "Copied Alpha");

    QMenu& favourite = UserInput::openContextMenu(favourites(), 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&favourite));
    QTest::mouseMove(&favourite, favourite.actionGeometry(&control<QAction>("modifyServer")).center());
    EXPECT_EQ(statusBar().currentMessage(), "Modify server (Ctrl+E)") << "a context menu's entry tells its tip too";
    QTest::keyClick(&favourite, Qt::Key_Escape);
    EXPECT_TRUE(statusBar().currentMessage().isEmpty());
    EXPECT_EQ(outcome(), "Copied Alpha");
}

TEST_F(StatusBarTest, eachActionOnTheFavouritesTellsWhatBecameOfIt)
{
    TestPreferences::setTimeout(50000);
    GameServerPeer answering;
    answering.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\^1Ans^7wering\\gamename\\Call of Duty\n")});
    const QString answeringAddress = QString::fromLatin1(answering.address());
    startWith({server("Alpha", answeringAddress), server("", nobodyAnswers)});

    UserInput::clickRow(favourites(), 0);
    clickButton("refreshServerButton");
    EXPECT_EQ(outcome(), "Refreshed Answering") << "named by the name its server gave";
    UserInput::clickRow(favourites(), 1);
    clickButton("refreshServerButton");
    EXPECT_EQ(outcome(), nobodyAnswers + " did not answer") << "a favourite without a name is told by its address";
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();
    EXPECT_EQ(outcome(), "Refreshed 2 favourites, 1 did not answer");

    UserInput::clickRow(favourites(), 0);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(outcome(), "Copied Answering");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(outcome(), answeringAddress + " is a favourite already");
    press(Qt::Key_Delete);
    EXPECT_EQ(outcome(), "Deleted Answering");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(outcome(), "Pasted Answering");

    clickButton("newServerButton");
    const Ui::NewModifyWindow& sheet = window->newModifyWindow().controls();
    UserInput::typeInto(*sheet.nmIpAndPort, "10.0.0.7:28960");
    UserInput::typeInto(*sheet.nmServerName, "Newcomer");
    sheet.okButton->click();
    EXPECT_EQ(outcome(), "Added Newcomer");
}
