#include "MainWindowFixture.h"

#include "app/FavouritesStore.h"
#include "model/ServerArchive.h"
#include "peers/GameServerPeer.h"
#include "platform/Preferences.h"
#include "platform/PrivateFile.h"
#include "support/Files.h"
#include "support/TestPreferences.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>


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
    static QByteArray recoveryCopy() { return Files::contentOf(FavouritesStore::recoveryCopyPath()); }

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

TEST_F(QuitPrompt, aPartlyReadableRecoveryCopyTellsWhatItLostAndIsCopiedBeforeItIsReplaced)
{
    const QList<CodServerPtr> three = {server("Alpha", "10.0.0.1:28960", "secret"), server("Bravo", "10.0.0.2:28960"),
                                       server("Charlie", "10.0.0.3:28960")};
    // The copy ends in the middle of its third record.
    const QByteArray cut = ServerArchive::archiveServerList(three).chopped(3);
    ASSERT_TRUE(PrivateFile::write(FavouritesStore::recoveryCopyPath(), cut));

    alerts->answerNext(Alerts::DefaultButton);
    start();
    ASSERT_EQ(alerts->shown().size(), 1);
    const QString message = alerts->shown().first().message;
    EXPECT_TRUE(message.contains("changes that were not saved. 1 of its favourite servers could not be read."))
        << message.toStdString();
    const QString copyPath = QRegularExpression(" kept in (.+)\\. Do you").match(message).captured(1);
    EXPECT_EQ(Files::contentOf(copyPath), cut) << message.toStdString();
    EXPECT_EQ(Files::permissionsOf(copyPath), mode_t(0600));
    EXPECT_EQ(namesOf(controller->myServers()), QStringList({"Alpha", "Bravo"}));
    EXPECT_NE(recoveryCopy(), cut) << "restored, the list keeps a copy of its own";
    EXPECT_EQ(Files::contentOf(copyPath), cut);
}

TEST_F(QuitPrompt, nothingReplacesTheEarlierRunsCopyBeforeTheRestorePromptIsAnswered)
{
    GameServerPeer peer;
    peer.setStatusAnswer({GameServerPeer::statusDatagram("\\sv_hostname\\Learnt\\gamename\\Call of Duty 2\n")});
    startWith({server("", QString::fromLatin1(peer.address()))});
    pasteText("10.0.0.2:28960");
    endRunWithoutPrompt();
    const QByteArray earlierCopy = recoveryCopy();

    // The periodic refresh starts with the window and learns the favourite's name; what
    // it queues runs while the prompt waits for the user.
    Preferences::standard().setObject(true, "Auto Refresh");
    QByteArray copyWhileAsked;
    alerts->whileShown([&](const auto&) {
        waitForTheRunToEnd();
        QCoreApplication::processEvents();
        copyWhileAsked = recoveryCopy();
    });
    alerts->answerNext(Alerts::AlternateButton);
    start();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(copyWhileAsked, earlierCopy);
    // Discarded: the name this run learnt is its own change, with a copy of its own.
    const auto kept = ServerArchive::unarchiveServerList(recoveryCopy());
    ASSERT_TRUE(kept);
    EXPECT_EQ(namesOf(*kept), QStringList({"Learnt"}));
}

TEST_F(QuitPrompt, aRecoveryCopyThatCannotBeWrittenIsToldOnce)
{
    start();
    // A folder in the copy's place: no file can take it.
    ASSERT_TRUE(QDir().mkpath(FavouritesStore::recoveryCopyPath()));
    pasteText("10.0.0.2:28960");
    EXPECT_TRUE(outcome().startsWith("Unsaved changes of the favourite servers are not being kept: "))
        << outcome().toStdString();
    pasteText("10.0.0.3:28960");
    EXPECT_EQ(outcome(), "Pasted 10.0.0.3:28960");
}
