#include "MainWindowFixture.h"

#include "app/NewModifyWindow.h"
#include "peers/GameServerPeer.h"

#include "ui_NewModifyWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

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
    ASSERT_TRUE(sheet().isVisible());
    EXPECT_EQ(sheet().windowModality(), Qt::WindowModal);
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
    EXPECT_TRUE(sheetFields().nmErrorMessage->text().isEmpty());
    fillAndConfirm("10.0.0.1:28960", "Other name", "pw");
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(favourite(0)->serverName(), "Alpha");
    EXPECT_FALSE(controller->listOfServersModified());
    EXPECT_FALSE(controller->addServer("192.168.0.1:65535", "Again", "pw"));
    EXPECT_TRUE(controller->addServer("192.168.0.1:065535", "", ""));
    EXPECT_EQ(controller->myServers().size(), 3);
}

TEST_F(FavouritesEditing, modifyingKeepsTheFavouriteItsPlaceAndLastStatusButNeverTakesAnotherOnesAddress)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", nobodyAnswers, "secret"),
               server("Charlie", "10.0.0.3:28960")});
    clickButton("newServerButton");
    sheetFields().nmIpAndPort->setText("10.0.0.2:28960");
    sheetFields().cancelButton->click();
    select(1);
    clickButton("modifyServerButton");
    sheetFields().nmServerName->setText("Renamed");
    sheet().reject();
    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"Alpha", "Bravo", "Charlie"})) << "cancelled";

    favourite(1)->setCommError(CodServer::Answered);
    favourite(1)->setServerPlayers({player("Alice")});
    control<QAction>("modifyServer").trigger();
    ASSERT_TRUE(sheet().isVisible());
    EXPECT_EQ(sheetFields().nmIpAndPort->text() + ' ' + sheetFields().nmServerName->text() + ' '
                  + sheetFields().nmRconPass->text(),
              nobodyAnswers + " Bravo secret");

    fillAndConfirm("10.0.0.1:28960", "Clash", "");
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", nobodyAnswers, "10.0.0.3:28960"}));
    EXPECT_EQ(favourite(1)->serverName(), "Bravo");
    EXPECT_FALSE(controller->listOfServersModified());

    clickButton("modifyServerButton");
    fillAndConfirm(nobodyAnswers, "Bravo renamed", "");
    EXPECT_EQ(favourite(1)->serverName(), "Bravo renamed");
    EXPECT_FALSE(favourite(1)->serverPassOwner());
    EXPECT_EQ(favourite(1)->serverPlayers().size(), 1) << "the last status stays";
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
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(controller->myServers().size(), 3);
    EXPECT_FALSE(controller->listOfServersModified());

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
    EXPECT_TRUE(alerts->shown().isEmpty());
}

TEST_F(FavouritesEditing, editingTheFavouritesSendsNothingToTheServers)
{
    GameServerPeer peer;
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Peer\n")});
    const QString address = QString::fromLatin1(peer.address());
    startWith({server("Peer", address), server("Other", "127.0.0.1:1")});

    select(0);
    clickButton("modifyServerButton");
    fillAndConfirm(address, "Renamed");
    favourite(0)->setCommError(CodServer::Answered);
    redraw();
    clickButton("infoServerButton");
    controller->closeInfoWindow();
    controller->copy();
    controller->cut();
    controller->paste();
    std::unique_ptr<QMimeData> drag(favourites().model()->mimeData({favourites().model()->index(1, 0)}));
    favourites().model()->dropMimeData(drag.get(), Qt::MoveAction, 0, 0, {});
    clickButton("newServerButton");
    fillAndConfirm("127.0.0.1:2");
    ASSERT_EQ(controller->myServers().size(), 3);

    // A status query of our own, answered, comes after anything the window sent.
    server("Probe", address)->sendCommandToServer("", 0);
    EXPECT_EQ(peer.receivedDatagrams(), QList<QByteArray>{QByteArray("\xff\xff\xff\xffgetstatus")});
}
