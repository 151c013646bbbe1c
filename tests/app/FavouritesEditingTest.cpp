#include "MainWindowFixture.h"

#include "app/NewModifyWindow.h"
#include "peers/GameServerPeer.h"

#include "ui_NewModifyWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

class FavouritesEditing : public MainWindowFixture {
protected:
    NewModifyWindow& sheet() const { return window->newModifyWindow(); }
    Ui::NewModifyWindow& sheetFields() const { return sheet().controls(); }

    // Types the fields of the open sheet and presses its OK button.
    void fillAndConfirm(const QString& ip, const QString& name = {}, const QString& pass = {}) const
    {
        sheetFields().nmIpAndPort->setText(ip);
        sheetFields().nmServerName->setText(name);
        sheetFields().nmRconPass->setText(pass);
        sheetFields().okButton->click();
    }
    // Selects the favourite, clicks Refresh and waits for the window to tell the outcome.
    void refreshRow(int row) const
    {
        select(row);
        controller->showOutcome({});
        clickButton("refreshServerButton");
        while (!outcome().startsWith("Refreshed "))
            QTest::qWait(5);
    }
    QString nameCell(int row, int role = Qt::DisplayRole) const
    {
        return cell(favourites(), row, "Name", role).toString();
    }
    static QByteArray statusNaming(const QByteArray& hostName)
    {
        return GameServerPeer::statusDatagram("\\sv_hostname\\" + hostName
                                              + "\\_Admin\\^3Sarge ^7Boss\\shortversion\\1.3 " + QByteArray(200, 'x')
                                              + "\\gamename\\Call of Duty 2\n");
    }
};

TEST_F(FavouritesEditing, newServerSheetRefusesBadAddressesAndKnownOnes)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    clickButton("newServerButton");
    fillAndConfirm("192.168.0.256:28960", "Bravo");
    EXPECT_EQ(sheetFields().nmErrorMessage->text(), "Bad argument(s) in the ip adress");
    EXPECT_TRUE(sheet().isVisible());
    EXPECT_EQ(controller->myServers().size(), 1);

    fillAndConfirm("192.168.0.1:65535", "Bravo", "secret");
    EXPECT_FALSE(sheet().isVisible());
    ASSERT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "192.168.0.1:65535"}));
    EXPECT_EQ(favourite(1)->serverName(), "Bravo");
    EXPECT_EQ(favourite(1)->serverPass(), "secret");
    EXPECT_TRUE(favourite(1)->serverPassOwner());
    EXPECT_TRUE(controller->listOfServersModified());

    // An address already listed, by its exact text, is never added twice.
    controller->setListOfServersModified(false);
    control<QAction>("newServer").trigger();
    fillAndConfirm("10.0.0.1:28960", "Other name", "pw");
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(favourite(0)->serverName(), "Alpha");
    EXPECT_FALSE(controller->listOfServersModified());
    EXPECT_FALSE(controller->addServer("192.168.0.1:65535", "Again", "pw"));
}

TEST_F(FavouritesEditing, modifyingKeepsTheFavouriteItsPlaceAndLastStatusButNeverTakesAnotherOnesAddress)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", nobodyAnswers, "secret"),
               server("Charlie", "10.0.0.3:28960")});
    select(1);
    clickButton("modifyServerButton");
    sheetFields().nmServerName->setText("Renamed");
    sheet().reject();
    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"Alpha", "Bravo", "Charlie"})) << "cancelled";

    favourite(1)->setCommError(CodServer::Answered);
    control<QAction>("modifyServer").trigger();
    EXPECT_EQ(sheetFields().nmRconPass->text(), "secret");
    fillAndConfirm("10.0.0.1:28960", "Clash", "");
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", nobodyAnswers, "10.0.0.3:28960"}));
    EXPECT_EQ(favourite(1)->serverName(), "Bravo");
    EXPECT_FALSE(controller->listOfServersModified());

    clickButton("modifyServerButton");
    fillAndConfirm(nobodyAnswers, "Bravo renamed", "");
    EXPECT_EQ(favourite(1)->serverName(), "Bravo renamed");
    EXPECT_FALSE(favourite(1)->serverPassOwner());
    EXPECT_EQ(favourite(1)->commError(), CodServer::Answered) << "the last status stays";
    EXPECT_TRUE(controller->listOfServersModified());

    clickButton("modifyServerButton");
    fillAndConfirm("10.0.0.9:27960", "Bravo moved", "new");
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.9:27960", "10.0.0.3:28960"}));
    EXPECT_EQ(controller->currentServer(), favourite(1));
}

TEST_F(FavouritesEditing, deletingMakesTheFollowingFavouriteCurrentAndWithoutASelectionOnlyBeeps)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960"),
               server("Charlie", "10.0.0.3:28960")});
    for (const auto& command : {&Zorvel::modifyServer, &Zorvel::deleteServer, &Zorvel::deleteSelection, &Zorvel::cut})
        ((*controller).*command)();
    EXPECT_EQ(alerts->beeps(), 4);
    EXPECT_EQ(controller->myServers().size(), 3);

    const CodServerPtr charlie = favourite(2);
    select(1);
    clickButton("deleteServerButton");
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.3:28960"}));
    EXPECT_EQ(controller->currentServer(), charlie);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_TRUE(controller->listOfServersModified());

    control<QAction>("delete").trigger();
    EXPECT_EQ(favouriteAddresses(), QStringList{"10.0.0.1:28960"});
    EXPECT_EQ(controller->currentServer(), nullptr) << "none follows the last";
    EXPECT_EQ(selectedRow(), -1);
}

TEST_F(FavouritesEditing, aNameTheUserTypedOutlivesRefreshesAndRestartsWhileAnUntypedOneFollowsTheServer)
{
    GameServerPeer named;
    GameServerPeer unnamed;
    named.setStatusAnswer({statusNaming("Newcomer OA")});
    unnamed.setStatusAnswer({statusNaming("Plain <b>OA</b>")});
    startWith({server("", QString::fromLatin1(unnamed.address()))});
    clickButton("newServerButton");
    fillAndConfirm(QString::fromLatin1(named.address()), "My OA box");
    refreshRow(1);
    refreshRow(0);
    EXPECT_EQ(nameCell(1), "My OA box");
    EXPECT_EQ(nameCell(0), "Plain <b>OA</b>") << "a favourite left without a name shows the server's";
    EXPECT_EQ(tipText(nameCell(1, Qt::ToolTipRole)), "Server name: Newcomer OA");
    EXPECT_EQ(nameCell(0, Qt::ToolTipRole), "") << "no tip repeats the name";
    select(1);
    clickButton("infoServerButton");
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("infoName")->toPlainText(), "Newcomer OA");
    EXPECT_EQ(window->findChild<QLineEdit*>("infoAdmin")->text(), "Sarge Boss") << "as the names show, colour-free";
    EXPECT_EQ(window->findChild<QLineEdit*>("infoVersion")->cursorPosition(), 0) << "a long version shows its start";
    controller->closeInfoWindow();

    // Confirming the sheet as it came leaves the server's name in charge.
    select(0);
    clickButton("modifyServerButton");
    sheetFields().okButton->click();
    unnamed.setStatusAnswer({statusNaming("Renamed OA")});
    refreshRow(0);
    EXPECT_EQ(nameCell(0), "Renamed OA");

    alerts->answerNext(Alerts::DefaultButton);
    controller->applicationWillTerminate();
    endRunWithoutPrompt();
    start();
    refreshRow(1);
    refreshRow(0);
    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"Renamed OA", "My OA box"}));
    select(1);
    clickButton("modifyServerButton");
    EXPECT_EQ(sheetFields().nmServerName->text(), "My OA box");

    // A name cleared in the sheet hands the favourite back to its server.
    fillAndConfirm(QString::fromLatin1(named.address()));
    refreshRow(1);
    EXPECT_EQ(nameCell(1), "Newcomer OA");
}

// The recovery copy of a run that ended without the quit prompt keeps which names the
// user typed: restored, the typed name outlives the server's answers.
TEST_F(FavouritesEditing, aNameTypedInARunThatEndedWithoutThePromptIsStillTheUsersOnceRestored)
{
    GameServerPeer named;
    named.setStatusAnswer({statusNaming("Newcomer OA")});
    startWith({server("Alpha", "10.0.0.1:28960")});
    clickButton("newServerButton");
    fillAndConfirm(QString::fromLatin1(named.address()), "My OA box");
    endRunWithoutPrompt();

    alerts->answerNext(Alerts::DefaultButton);
    start();
    ASSERT_EQ(controller->myServers().size(), 2) << "restored";
    refreshRow(1);
    EXPECT_EQ(nameCell(1), "My OA box");
}

// A favourite stored under older address rules keeps its address when only its name
// or password change; an address the user changes is checked.
TEST_F(FavouritesEditing, aFavouriteUnderOlderAddressRulesCanBeRenamed)
{
    startWith({server("Old", "1.2.3.4.5:28960")});
    select(0);
    clickButton("modifyServerButton");
    fillAndConfirm("1.2.3.4.5:28960", "Renamed", "secret");
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(favourite(0)->serverName(), "Renamed");
    EXPECT_TRUE(favourite(0)->serverPassOwner());
    EXPECT_EQ(favouriteAddresses(), QStringList({"1.2.3.4.5:28960"}));

    clickButton("modifyServerButton");
    fillAndConfirm("1.2.3.4.6:28960", "Moved", "secret");
    EXPECT_EQ(sheetFields().nmErrorMessage->text(), "Bad argument(s) in the ip adress");
    EXPECT_TRUE(sheet().isVisible());
    EXPECT_EQ(favourite(0)->serverName(), "Renamed");
}
