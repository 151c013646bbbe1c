#include "MainWindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

class MainWindowTest : public MainWindowFixture {
protected:
    bool enabled(const char* action) const { return control<QAction>(action).isEnabled(); }

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
        controller->setCod2MasterIsRefreshing(running);
        openEveryMenu();
        for (const char* command : {"scanCodServers", "scanUOServers", "scanCod2Servers", "scanCod4Servers"})
            EXPECT_EQ(enabled(command), !running) << command;
    }
}
