#include "MainWindowFixture.h"

#include "app/NewModifyWindow.h"

#include "ui_NewModifyWindow.h"

#include <QAction>
#include <QLineEdit>

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
