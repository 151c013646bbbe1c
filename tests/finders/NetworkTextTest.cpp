#include "FinderWindowTest.h"

#include "app/InfoWindow.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "platform/MessageBoxAlerts.h"
#include "support/FifoWatch.h"
#include "support/UserInput.h"

#include "ui_InfoWindow.h"
#include "ui_MainWindow.h"
#include "ui_ServerFinder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

namespace {

// Whether Qt renders the text of a label with that format as rich text.
bool rendersRichText(const QString& text, Qt::TextFormat format)
{
    return format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
}

// A server whose name, map and gametype are image tags naming a pipe that the test
// watches, found by a scan of the Call of Duty master, added to the favourites from
// the server finder, refreshed from the main window with the player alert armed on
// one of its players, and shown in the details sheet. Every alert is a real message
// box, which the test reads and closes.
class NetworkTextTest : public FinderWindowTest {
protected:
    void SetUp() override
    {
        FinderWindowTest::SetUp();
        openBothFindersOverCodScans(master.port());
        Alerts::install(std::make_unique<MessageBoxAlerts>());
        QObject::connect(&boxCloser, &QTimer::timeout, [this] { closeMessageBox(); });
        boxCloser.start(5);
    }

    void TearDown() override { RecordingAlerts::install(); }

    void closeMessageBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        boxes.append({box->text(), box->textFormat()});
        box->buttons().first()->click();
    }

    QString outcome() const { return window->controls().actionOutcome->text(); }

    void scanAddRefreshAndShowTheMarkedServer()
    {
        const QByteArray marked = tag.toLocal8Bit();
        GameServerFarm farm({{.hostName = marked, .mapName = marked, .gametype = marked, .players = {"Watched"}}});
        master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 1));
        serverFinder->findChild<QPushButton*>("fetchButton-cod")->click();
        // The finder shows the list the scan handed over once it ended.
        while (serverFinder->theServers().isEmpty())
            QTest::qWait(5);
        UserInput::clickRow(*serverFinder->controls().serverTable, 0);
        UserInput::click(*serverFinder->controls().addServerButton);
        ASSERT_EQ(outcome(), "Added " + tag);

        Ui::MainWindow& main = window->controls();
        UserInput::clickRow(*main.tableViewServers, int(controller->myServers().size()) - 1);
        UserInput::typeInto(*main.playerNameToFind, QStringLiteral("Watched"));
        main.alertOnPlayerButton->setChecked(true);
        UserInput::click(*main.refreshServerButton);
        while (!outcome().startsWith("Refreshed "))
            QTest::qWait(5);
        while (boxes.isEmpty())
            QTest::qWait(5);
        UserInput::click(*main.infoServerButton);
        InfoWindow& details = window->infoWindow();
        ASSERT_TRUE(details.isVisible());
        drawEveryWindow();
        details.controls().closeButton->click();
    }

    // Lays out and paints every window: a rich text loads its images then.
    void drawEveryWindow() const
    {
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (shown->isVisible())
                shown->grab();
        QCoreApplication::processEvents();
    }

    struct Box {
        QString text;
        Qt::TextFormat format;
    };

    FifoWatch pipe;
    const QString tag = QStringLiteral("<img src=%1>").arg(pipe.path());
    MasterServerPeer master;
    QTimer boxCloser;
    QList<Box> boxes;
};

}  // namespace

TEST_F(NetworkTextTest, aServerNamedWithAnImageTagNeverMakesZorvelOpenTheFileAndShowsTheTagAsText)
{
    scanAddRefreshAndShowTheMarkedServer();
    EXPECT_FALSE(pipe.wasOpened()) << "a rich text loaded the image it names";

    EXPECT_EQ(outcome(), "Refreshed " + tag);
    EXPECT_EQ(window->controls().currentMap->text(), tag);
    EXPECT_EQ(window->controls().currentGameType->text(), tag);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first().text, "Watched detected on favorite server(s): " + tag);
    EXPECT_FALSE(rendersRichText(boxes.first().text, boxes.first().format));
}

TEST_F(NetworkTextTest, noLabelOfAnyWindowRendersTheServersTextAsRichText)
{
    scanAddRefreshAndShowTheMarkedServer();
    const QList<QWidget*> windows = {window.get(), &window->infoWindow(), serverFinder, playerFinder};
    int showingTheTag = 0;
    for (QWidget* shown : windows) {
        for (const QLabel* label : shown->findChildren<QLabel*>()) {
            if (label->text().contains(tag)) {
                ++showingTheTag;
                EXPECT_FALSE(rendersRichText(label->text(), label->textFormat())) << label->objectName().toStdString();
            }
            // A tooltip has no format: one that holds the tag unescaped must not look rich.
            if (label->toolTip().contains(tag)) {
                EXPECT_FALSE(Qt::mightBeRichText(label->toolTip())) << label->objectName().toStdString();
            }
        }
    }
    EXPECT_GE(showingTheTag, 3) << "the status bar, the map and the gametype show it";
    EXPECT_TRUE(window->controls().actionOutcome->toolTip().contains(tag.toHtmlEscaped()));
}
