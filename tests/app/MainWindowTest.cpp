#include "MainWindowFixture.h"

#include "app/PasswordWindow.h"
#include "launch/GameApplications.h"
#include "support/UserInput.h"

#include "ui_PasswordWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

class MainWindowTest : public MainWindowFixture {
protected:
    bool enabled(const QString& action) const
    {
        return control<QAction>(action.toLatin1().constData()).isEnabled();
    }

    // Opens and closes every menu, as the user does before choosing a command.
    void openEveryMenu() const
    {
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
            menu->popup({});
            menu->hide();
        }
    }
};

TEST_F(MainWindowTest, oneRunningMasterScanDisablesEveryScan)
{
    start();
    for (bool running : {true, false}) {
        controller->setMasterIsRefreshing(2, running);
        openEveryMenu();
        for (const char* command : {"scan-cod", "scan-uo", "scan-cod2", "scan-cod4", "scan-urt", "scan-quake3",
                                    "scan-openarena", "scan-xonotic", "scan-nexuiz"})
            EXPECT_EQ(enabled(command), !running) << command;
    }
}

TEST_F(MainWindowTest, editCommandsNeedASelectionAndTheDetailsAndRotationCommandsFollowTheirButtons)
{
    struct Case {
        int row;
        int commError;
        const char* gameName;
        bool details;
        bool rotation;
    };
    const QList<Case> cases = {
        {0, CodServer::NeverContacted, "", false, false},
        {0, CodServer::Answered, "Call of Duty 4", true, false},
        {1, CodServer::Unreachable, "Call of Duty 4", false, true},
        {1, CodServer::RconFailed, "Call of Duty 4", false, true},
        {1, CodServer::Answered, "UT2004", true, false},
    };
    startWith({server("Plain", "10.0.0.1:28960"), server("Administered", nobodyAnswers, "rcon")});
    const QStringList editCommands = {"copy", "cut", "delete", "modifyServer", "refreshServer"};
    for (const Case& state : cases) {
        UserInput::clickRow(favourites(), state.row);
        waitForWindowExchanges();
        favourite(state.row)->setCommError(state.commError);
        favourite(state.row)->setServerGameName(state.gameName);
        redraw();
        openEveryMenu();
        SCOPED_TRACE(testing::Message() << "row " << state.row << ", state " << state.commError << ", "
                                        << state.gameName);
        for (const QString& command : editCommands)
            EXPECT_TRUE(enabled(command)) << command.toStdString();
        EXPECT_EQ(enabled("infoOnServer"), state.details);
        EXPECT_EQ(enabled("createGameRotation"), state.rotation);
    }

    UserInput::clickRow(favourites(), 1, Qt::ControlModifier);
    ASSERT_EQ(selectedRow(), -1);
    openEveryMenu();
    for (const QString& command : editCommands + QStringList{"infoOnServer", "createGameRotation"})
        EXPECT_FALSE(enabled(command)) << command.toStdString();
    EXPECT_TRUE(enabled("paste"));
}

TEST_F(MainWindowTest, theFavouritesContextMenuJoinsWithAPasswordWithoutAModifierWhenTheJoinButtonCould)
{
    desktop->installApplication(GameApplications::callOfDuty2, "/usr/games/cod2mp");
    startWith({server("Open", "10.0.0.1:28960"), server("Elsewhere", "10.0.0.2:28960")});
    favourite(0)->setCommError(CodServer::Answered);
    favourite(0)->setServerGameName("Call of Duty 2");

    QMenu& menu = UserInput::openContextMenu(favourites(), 0);
    QStringList offered;
    for (const QAction* action : menu.actions())
        offered.append(action->objectName());
    EXPECT_EQ(offered, QStringList({"refreshServer", "goToServer", "goToServerWithPassword", "infoOnServer", "",
                                    "newServer", "modifyServer", "", "cut", "copy", "paste", "delete"}));
    ASSERT_TRUE(UserInput::chooseFromMenu(menu, "goToServerWithPassword"));
    const Ui::PasswordWindow& sheet = window->passwordWindow().controls();
    ASSERT_TRUE(window->passwordWindow().isVisible());
    UserInput::typeInto(*sheet.pPassword, "let me in");
    sheet.okButton->click();
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments,
              QStringList({"+password", "let me in", "+connect", "10.0.0.1:28960"}));
    EXPECT_EQ(outcome(), "Joining Open");

    for (const char* join : {"goToServer", "goToServerWithPassword"})
        EXPECT_FALSE(UserInput::chooseFromMenu(UserInput::openContextMenu(favourites(), 1), join))
            << join << ": the game of a server that never answered is not known";
    EXPECT_FALSE(window->passwordWindow().isVisible());
    EXPECT_EQ(desktop->started().size(), 1);
}
