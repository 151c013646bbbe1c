#include "MainWindowFixture.h"

#include "app/ServerPasteboard.h"
#include "model/ServerArchive.h"
#include "support/UserInput.h"

#include <QAction>
#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>

namespace {

QClipboard& clipboard()
{
    return *QGuiApplication::clipboard();
}

}  // namespace

class FavouritesTable : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        clipboard().clear();
    }

    QAbstractItemModel& model() const { return *favourites().model(); }

    // Five favourites named after their first position, 0 to 4.
    static QList<CodServerPtr> fiveFavourites()
    {
        QList<CodServerPtr> servers;
        for (int i = 0; i < 5; ++i)
            servers.append(server(QString::number(i), QStringLiteral("10.0.0.%1:28960").arg(i)));
        return servers;
    }

    // Drags the favourite at `from` and drops it between rows, above `to`.
    bool dragRow(int from, int to) const
    {
        std::unique_ptr<QMimeData> drag(model().mimeData({model().index(from, 1)}));
        return model().dropMimeData(drag.get(), Qt::MoveAction, to, 0, {});
    }
};

TEST_F(FavouritesTable, eachStateChoosesTheTextColourAndAHeldPasswordTheGround)
{
    struct Row {
        int commError;
        const char* pass;
        const char* player;
        QColor text;
    };
    const QColor grey = QColor::fromRgbF(0.5, 0.5, 0.5);
    const QColor black(Qt::black);
    const QColor blue(Qt::blue);
    const QList<Row> rows = {
        {CodServer::NeverContacted, "", "", grey},
        {CodServer::Answered, "pw", "Alice", black},
        {CodServer::Unreachable, "", "", QColor(Qt::red)},
        {CodServer::RconFailed, "pw", "", QColor::fromRgbF(0.5, 0.0, 0.5)},
        {CodServer::Answered, "", "[clan]Bob", blue},
        {7, "", "", QColor()},
    };
    QList<CodServerPtr> servers;
    for (int row = 0; row < rows.size(); ++row)
        servers.append(server(QString::number(row), QStringLiteral("10.0.0.%1:28960").arg(row + 1), rows[row].pass));
    startWith(servers);
    for (int row = 0; row < rows.size(); ++row) {
        favourite(row)->setCommError(rows[row].commError);
        if (*rows[row].player)
            favourite(row)->setServerPlayers({std::make_shared<const CodPlayer>(
                CodPlayer::Fields{.name = rows[row].player, .colouredName = rows[row].player})});
    }
    QLineEdit& watched = control<QLineEdit>("playerNameToFind");
    UserInput::typeInto(watched, "CLAN");
    const auto textColour = [this](int row) {
        return cell(favourites(), row, "Name", Qt::ForegroundRole).value<QColor>();
    };
    for (int row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(textColour(row), rows[row].text) << row;
        const QVariant ground = cell(favourites(), row, "Address", Qt::BackgroundRole);
        EXPECT_EQ(ground.value<QColor>(), *rows[row].pass ? QColor::fromRgbF(0.9, 0.9, 0.9) : QColor()) << row;
    }
    for (const char* other : {"alice", ""}) {
        UserInput::typeInto(watched, other);
        EXPECT_EQ(textColour(1), *other ? blue : black) << other;
        EXPECT_EQ(textColour(4), black) << "no longer watched";
    }
}

TEST_F(FavouritesTable, draggingAFavouriteMovesItAboveTheDropRowAndTheSelectionFollows)
{
    startWith(fiveFavourites());
    select(2);
    const CodServerPtr selected = favourite(2);

    EXPECT_TRUE(dragRow(0, 3));
    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"1", "2", "0", "3", "4"}));
    EXPECT_EQ(controller->currentServer(), selected);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_TRUE(controller->listOfServersModified());

    EXPECT_FALSE(dragRow(1, 2)) << "onto its own place";
}

TEST_F(FavouritesTable, anAddressDroppedOrPastedFromElsewhereBecomesABareFavouriteAndTheRestIsRefused)
{
    startWith({server("Alpha", "10.0.0.1:28960")});
    EXPECT_TRUE(dropText("10.0.0.2:28960"));
    EXPECT_TRUE(dropText(" 10.0.0.3:28960\n", 0));
    controller->paste();
    clipboard().setText("10.0.0.4:28960");
    controller->paste();
    ASSERT_EQ(favouriteAddresses(), QStringList({"10.0.0.3:28960", "10.0.0.1:28960", "10.0.0.2:28960",
                                                 "10.0.0.4:28960"}));
    for (int row : {0, 2, 3})
        EXPECT_TRUE(favourite(row)->serverName().isEmpty() && !favourite(row)->serverPassOwner()) << row;
    EXPECT_TRUE(controller->listOfServersModified());

    controller->setListOfServersModified(false);
    for (const char* refused : {"10.0.0.2:28960", "10.0.0.5", "not an address", "", "10.0.0.1:28960"})
        EXPECT_FALSE(dropText(refused)) << refused;
    const auto paste = [this](const QString& text, const QByteArray& record) {
        auto* data = new QMimeData;
        if (!text.isEmpty())
            data->setText(text);
        if (!record.isEmpty())
            data->setData(ServerPasteboard::codServerType, record);
        clipboard().setMimeData(data);
        controller->paste();
    };
    paste("garbage:text", {});
    paste("10.0.0.6:28960", QByteArray("\x00\x00\x00\x08" "damaged", 11));
    paste("", ServerArchive::archiveServer(*server("Name", "no address", "pw")));
    EXPECT_EQ(controller->myServers().size(), 4);
    EXPECT_FALSE(controller->listOfServersModified());
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_EQ(alerts->beeps(), 0);
}

TEST_F(FavouritesTable, aFavouriteCopiedInsideZorvelComesBackWhole)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", nobodyAnswers, "secret"),
               server("Charlie", "10.0.0.3:28960")});
    select(1);
    control<QAction>("copy").trigger();
    EXPECT_EQ(clipboard().text(), nobodyAnswers);
    control<QAction>("paste").trigger();
    EXPECT_EQ(controller->myServers().size(), 3);
    EXPECT_FALSE(controller->listOfServersModified());

    control<QAction>("delete").trigger();
    select(0);
    control<QAction>("paste").trigger();
    ASSERT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", nobodyAnswers, "10.0.0.3:28960"}));
    EXPECT_EQ(favourite(1)->serverName(), "Bravo");
    EXPECT_EQ(favourite(1)->serverPass(), "secret");
    EXPECT_TRUE(favourite(1)->serverPassOwner());

    select(1);
    control<QAction>("cut").trigger();
    select(-1);
    control<QAction>("paste").trigger();
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.3:28960", nobodyAnswers}));
    EXPECT_EQ(favourite(2)->serverPass(), "secret");
}

TEST_F(FavouritesTable, tabLeavesTheFavouritesAndOnlyArrowsMoveTheSelection)
{
    startWith(fiveFavourites());
    UserInput::clickRow(favourites(), 1);
    ASSERT_EQ(QApplication::focusWidget(), &favourites());
    for (int tab = 0; tab < 4; ++tab)
        press(Qt::Key_Tab);
    EXPECT_EQ(selectedRow(), 1) << "Tab walks no cells and selects no other favourite";
    favourites().setFocus();
    press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), &favourites()) << "one Tab leaves the table";
    favourites().setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 2);
}

TEST_F(FavouritesTable, thePingCellHoldsTheTimeAloneAndTheColumnsFillTheTableWhateverWasStored)
{
    startWith(fiveFavourites());
    favourite(0)->setServerPing(QStringLiteral("Ping:   1 ms"));
    favourite(1)->setServerPing(QStringLiteral("Ping: --- ms"));
    redraw();
    EXPECT_EQ(cell(favourites(), 0, "Ping").toString(), "1 ms");
    EXPECT_EQ(cell(favourites(), 1, "Ping").toString(), "--- ms");

    // Columns stored by a table whose columns the user sized by hand, in a narrow window.
    QHeaderView& header = *favourites().horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Interactive);
    header.resizeSection(1, 120);
    window->hide();
    endRunWithoutPrompt();
    start();
    window->resize(1400, window->height());
    QCoreApplication::processEvents();
    const QHeaderView& restored = *favourites().horizontalHeader();
    EXPECT_EQ(restored.length(), favourites().viewport()->width()) << "no bare part of the header is left";
}

// Favourites stored under older address rules, which the validator now refuses, are
// shown and come back whole when cut and pasted.
TEST_F(FavouritesTable, aFavouriteUnderOlderAddressRulesSurvivesCutAndPaste)
{
    startWith({server("Suffixed", "1.2.3.4:28960x", "secret"), server("Five bytes", "1.2.3.4.5:28960"),
               server("Alpha", "10.0.0.1:28960")});
    EXPECT_EQ(favouriteAddresses(), QStringList({"1.2.3.4:28960x", "1.2.3.4.5:28960", "10.0.0.1:28960"}));
    for (int cut = 0; cut < 2; ++cut) {
        select(0);
        control<QAction>("cut").trigger();
        select(-1);
        control<QAction>("paste").trigger();
    }
    ASSERT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "1.2.3.4:28960x", "1.2.3.4.5:28960"}));
    EXPECT_EQ(favourite(1)->serverName(), "Suffixed");
    EXPECT_EQ(favourite(1)->serverPass(), "secret");
    EXPECT_TRUE(favourite(1)->serverPassOwner());
    EXPECT_EQ(favourite(2)->serverName(), "Five bytes");
}
