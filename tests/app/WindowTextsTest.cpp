#include "MainWindowFixture.h"

#include "app/InfoWindow.h"
#include "support/UserInput.h"

#include "ui_InfoWindow.h"

#include <QLabel>
#include <QTest>

class WindowTextsTest : public MainWindowFixture {
protected:
    QString text(const char* label) const { return control<QLabel>(label).text(); }
};

TEST_F(WindowTextsTest, theSummaryAndDetailsShowThePingOnceAndCountOnePlayerInTheSingular)
{
    struct Case {
        const char* ping;
        const char* shown;
        int players;
        const char* count;
    };
    const QList<Case> cases = {
        {"Ping:   0 ms", "0 ms", 1, "1 player"},
        {"Ping:  38 ms", "38 ms", 0, "0 players"},
        {"Ping: --- ms", "--- ms", 2, "2 players"},
    };
    startWith({server("Alpha", "10.0.0.1:28960")});
    UserInput::clickRow(favourites(), 0);
    for (const Case& state : cases) {
        CodServer& alpha = *favourite(0);
        alpha.setCommError(CodServer::Answered);
        alpha.setServerPing(QString::fromLatin1(state.ping));
        alpha.setServerPlayers(QList<CodPlayerPtr>(state.players, std::make_shared<const CodPlayer>()));
        redraw();
        EXPECT_EQ(text("currentPing"), state.shown);
        UserInput::click(control<QPushButton>("infoServerButton"));
        const Ui::InfoWindow& sheet = window->infoWindow().controls();
        EXPECT_EQ(sheet.infoPing->text(), state.shown);
        EXPECT_EQ(sheet.infoNumberOfPlayers->text(), state.count);
        sheet.closeButton->click();
    }
}

TEST_F(WindowTextsTest, theButtonsUnderTheFavouritesStayPutWhenTheStatusLineAppears)
{
    startWith({server("Alpha", "10.0.0.1:28960"), server("Bravo", "10.0.0.2:28960")});
    // Where the button is once the window laid itself out again.
    const auto placeOf = [this](const char* button) {
        QCoreApplication::processEvents();
        return control<QPushButton>(button).mapTo(window.get(), QPoint(0, 0));
    };
    const QPoint before = placeOf("refreshServerButton");
    UserInput::clickRow(favourites(), 0);
    EXPECT_FALSE(control<QGroupBox>("lastUpdateBox").title().trimmed().isEmpty()) << "the status line shows";
    EXPECT_EQ(placeOf("refreshServerButton"), before);
    UserInput::clickRow(favourites(), 0, Qt::ControlModifier);
    EXPECT_EQ(placeOf("refreshServerButton"), before);
}
