#include "app/Zorvel.h"
#include "model/EditedMasters.h"
#include "model/GameCatalogue.h"
#include "net/GameMasters.h"
#include "platform/Preferences.h"
#include "prefs/PreferenceController.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const GameDescription& game(const char* id)
{
    return *GameCatalogue::standard().find(QString::fromLatin1(id));
}

}  // namespace

// The Masters page of the real preferences panel, driven as a user does.
class MastersPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        RecordingAlerts::install();
        RecordingDesktop::install();
        controller = std::make_unique<Zorvel>();
        controller->showPreferencePanel();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<PreferenceController*>(window); shown && shown->isVisible())
                panel = shown;
        ASSERT_NE(panel, nullptr);
        // The masters have a page of their own, behind the general settings.
        QTabBar& pages = *panel->findChild<QTabBar*>();
        QTest::mouseClick(&pages, Qt::LeftButton, {}, pages.tabRect(1).center());
        ASSERT_EQ(pages.currentIndex(), 1);
        table = panel->findChild<QTableWidget*>("mastersTable");
        ASSERT_TRUE(table->isVisible());
    }

    template <class Control>
    Control& control(const char* name) const
    {
        return *panel->findChild<Control*>(QString::fromLatin1(name));
    }

    // Clicks the page's box of games, closes its list, and steps to the game with the
    // arrow keys.
    void chooseGame(const QString& name) const
    {
        QComboBox& box = control<QComboBox>("mastersGameBox");
        UserInput::click(box);
        if (box.view()->isVisible())
            QTest::keyClick(box.view(), Qt::Key_Escape);
        QTest::keyClick(&box, Qt::Key_Home);
        for (int step = 0; step < box.findText(name); ++step)
            QTest::keyClick(&box, Qt::Key_Down);
        ASSERT_EQ(box.currentText().toStdString(), name.toStdString());
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells.append(table->item(row, column) ? table->item(row, column)->text() : QString());
            texts.append(cells.join(u' '));
        }
        return texts;
    }

    // Double-clicks the cell and types the text over it, ending with Enter.
    void editCell(int row, int column, const QString& text) const
    {
        const QPoint at = table->visualRect(table->model()->index(row, column)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    std::unique_ptr<Zorvel> controller;
    PreferenceController* panel = nullptr;
    QTableWidget* table = nullptr;
};

TEST_F(MastersPageTest, aGamesMastersAreEditedOnThePageAndOkStoresThemForTheScans)
{
    chooseGame("Xonotic");
    EXPECT_EQ(rows(), QStringList({"dpmaster.deathmask.net 27950 udp 3", "dpmaster.tchr.no 27950 udp 3"}));

    UserInput::click(control<QPushButton>("addMasterButton"));
    editCell(2, 0, "127.0.0.1");
    editCell(2, 1, "27999");
    editCell(2, 3, "3, 4");
    UserInput::clickRow(*table, 0);
    UserInput::click(control<QPushButton>("removeMasterButton"));
    EXPECT_EQ(rows(), QStringList({"dpmaster.tchr.no 27950 udp 3", "127.0.0.1 27999 udp 3, 4"}));
    chooseGame("Nexuiz");
    EXPECT_EQ(rows(), QStringList({"dpmaster.deathmask.net 27950 udp 3"}));
    chooseGame("Xonotic");
    EXPECT_EQ(rows().size(), 2) << "the edits of a game stay while another is shown";
    EXPECT_EQ(EditedMasters::of(game("xonotic"), Preferences::standard()), game("xonotic").masters)
        << "nothing is stored before OK";

    UserInput::click(control<QPushButton>("okButton"));
    QStringList asked;
    for (const MasterToAsk& master : GameMasters::mastersToAsk(game("xonotic"), Preferences::standard()))
        asked.append(master.source.label + u' ' + QString::fromLatin1(master.source.request.mid(4)));
    EXPECT_EQ(asked, QStringList({"dpmaster.tchr.no:27950 getservers Xonotic 3 empty full",
                                  "127.0.0.1:27999 getservers Xonotic 3 empty full",
                                  "127.0.0.1:27999 getservers Xonotic 4 empty full"}))
        << "a new master is asked as the game's other masters are";
    EXPECT_EQ(Preferences::standard().stringForKey("Masters nexuiz"), "") << "a game left as it was stores nothing";
}

TEST_F(MastersPageTest, restoreDefaultsBringsTheCataloguesMastersBackAndRowsThatCannotBeAskedAreLeftOut)
{
    chooseGame("Call of Duty 4");
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(rows().at(1), "cod4master.cod4x.ovh 20810 tcp 6");
    editCell(0, 1, "70000");
    editCell(2, 3, "none");
    UserInput::click(control<QPushButton>("okButton"));
    const QList<MasterDescription> stored = EditedMasters::of(game("cod4"), Preferences::standard());
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.at(0), game("cod4").masters.at(1)) << "the CoD4x master keeps its TCP request and entry prefix";

    controller->showPreferencePanel();
    chooseGame("Call of Duty 4");
    EXPECT_EQ(rows(), QStringList({"cod4master.cod4x.ovh 20810 tcp 6"}));
    UserInput::click(control<QPushButton>("restoreMastersButton"));
    EXPECT_EQ(rows().size(), 3);
    UserInput::click(control<QPushButton>("okButton"));
    EXPECT_EQ(Preferences::standard().stringForKey("Masters cod4"), "");
    EXPECT_EQ(EditedMasters::of(game("cod4"), Preferences::standard()), game("cod4").masters);
}
