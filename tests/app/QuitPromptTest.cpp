#include "MainWindowFixture.h"

#include "app/FavouritesStore.h"
#include "platform/Preferences.h"
#include "support/Files.h"
#include "support/TestPreferences.h"

#include <QFile>


// Quitting with Ctrl+Q: the prompt that offers to store a changed list, what each
// answer does, and the recovery copy that keeps the changes of a run that ends
// without that prompt.
class QuitPrompt : public MainWindowFixture {
protected:
    // Ctrl+Q, and the prompt, if one comes, gets the answer.
    void quitAnswering(Alerts::Answer answer) const
    {
        alerts->answerNext(answer);
        press(Qt::Key_Q, Qt::ControlModifier);
    }

    static bool recoveryCopyExists() { return QFile::exists(FavouritesStore::recoveryCopyPath()); }

    const QList<CodServerPtr> alpha = {server("Alpha", "10.0.0.1:28960", "secret")};
};

TEST_F(QuitPrompt, escapingOrClosingThePromptKeepsZorvelOpenAndOnlyNoLetsTheEditsGo)
{
    struct Case {
        Alerts::Answer answer;
        bool stays;
        QStringList stored;
    };
    const QList<Case> cases = {
        {Alerts::Cancelled, true, {"10.0.0.1:28960"}},
        {Alerts::AlternateButton, false, {"10.0.0.1:28960"}},
        {Alerts::DefaultButton, false, {"10.0.0.1:28960", "10.0.0.2:28960"}},
    };
    for (const Case& test : cases) {
        endRunWithoutPrompt();
        TestPreferences::installFresh();
        startWith(alpha);
        bool visibleWhileAsked = false;
        alerts->whileShown([this, &visibleWhileAsked](const auto&) { visibleWhileAsked = window->isVisible(); });
        pasteText("10.0.0.2:28960");
        ASSERT_TRUE(recoveryCopyExists());

        quitAnswering(test.answer);
        EXPECT_TRUE(visibleWhileAsked) << test.answer;
        EXPECT_EQ(window->isVisible(), test.stays) << test.answer;
        EXPECT_EQ(storedAddresses(), test.stored) << test.answer;
        EXPECT_EQ(recoveryCopyExists(), test.stays) << "kept until the prompt is answered";
        alerts->whileShown({});
    }
    EXPECT_EQ(alerts->shown().size(), 3);
    controller->applicationWillTerminate();
    EXPECT_EQ(alerts->shown().size(), 3) << "answered, the prompt does not come again as the run ends";
}

TEST_F(QuitPrompt, aFavouriteWithoutANameThatDidNotAnswerIsNoChange)
{
    startWith({server("", nobodyAnswers), server("Alpha", "10.0.0.1:28960")});
    select(0);
    clickButton("refreshServerButton");
    ASSERT_EQ(favourite(0)->commError(), CodServer::Unreachable);

    quitAnswering(Alerts::Cancelled);
    EXPECT_TRUE(alerts->shown().isEmpty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QuitPrompt, yesWithAFailedWriteSaysSoAndKeepsZorvelOpen)
{
    TestPreferences::installUnwritable();
    start();
    pasteText("10.0.0.2:28960");

    quitAnswering(Alerts::DefaultButton);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_TRUE(alerts->shown().last().message.startsWith("The list of servers could not be stored in "
                                                          + Preferences::standard().filePath()));
    quitAnswering(Alerts::AlternateButton);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QuitPrompt, theChangesOfARunThatEndedWithoutThePromptAreOfferedAtTheNextStart)
{
    startWith(alpha);
    const QByteArray stored = storedFavourites();
    pasteText("10.0.0.2:28960");
    EXPECT_EQ(Files::permissionsOf(FavouritesStore::recoveryCopyPath()), mode_t(0600));
    EXPECT_TRUE(controller->commitData(false)) << "a session that may not ask leaves the copy";
    endRunWithoutPrompt();
    EXPECT_EQ(storedFavourites(), stored);

    alerts->answerNext(Alerts::DefaultButton);
    start();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().title, "Unsaved list of servers");
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960", "10.0.0.2:28960"}));
    EXPECT_TRUE(favourite(0)->serverPassOwner());
    EXPECT_TRUE(controller->listOfServersModified()) << "restored, the list is stored only on Yes";
    alerts->answerNext(Alerts::Cancelled);
    EXPECT_FALSE(controller->commitData(true)) << "a session whose prompt was escaped goes on";
    endRunWithoutPrompt();

    alerts->answerNext(Alerts::AlternateButton);
    start();
    EXPECT_EQ(favouriteAddresses(), QStringList({"10.0.0.1:28960"})) << "discarded";
    EXPECT_FALSE(recoveryCopyExists());
    endRunWithoutPrompt();
    start();
    EXPECT_EQ(alerts->shown().size(), 3) << "nothing left to offer";
}
