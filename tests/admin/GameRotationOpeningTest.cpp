#include "ListedServer.h"

#include "admin/GameRotation.h"
#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "model/ServerArchive.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList drawerGametypes = {"dm", "tdm", "sd", "hq", "bel", "re", "actf", "htf", "rsd", "dem", "ad", "lts"};

class GameRotationOpeningTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        alerts = &RecordingAlerts::install();
        RecordingDesktop::install();
        QList<CodServerPtr> favourites;
        for (const QString& name : {QStringLiteral("Alpha"), QStringLiteral("Bravo")}) {
            favourites.append(CodServer::create());
            favourites.last()->setServerName(name);
            favourites.last()->setServerIp(QStringLiteral("127.0.0.1:1"));
        }
        Preferences::standard().setObject(ServerArchive::archiveServerList(favourites), QStringLiteral("myServers"));
        controller = std::make_unique<Zorvel>();
        window = std::make_unique<MainWindow>(*controller);
        // With the AWE box on, the drawer lists the AWE gametypes after the game's own.
        window->findChild<QCheckBox*>(QStringLiteral("AWEButton"))->setChecked(true);
    }

    void selectFavourite(int row) const
    {
        window->findChild<QTableView*>(QStringLiteral("tableViewServers"))->selectRow(row);
    }

    // The drawer's button, as the user opens the editor.
    void openEditor() const { window->findChild<QPushButton*>(QStringLiteral("createGameRotationButton"))->click(); }

    static GameRotation* editor()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<GameRotation*>(widget))
                return found;
        return nullptr;
    }

    template <class Widget>
    static Widget& control(const char* name)
    {
        return *editor()->findChild<Widget*>(QString::fromLatin1(name));
    }

    static QStringList items(const QComboBox& combo)
    {
        QStringList texts;
        for (int i = 0; i < combo.count(); ++i)
            texts.append(combo.itemText(i));
        return texts;
    }

    RecordingAlerts* alerts = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(GameRotationOpeningTest, aServerNeverRefreshedIsRefused)
{
    openEditor();
    selectFavourite(0);
    openEditor();
    ASSERT_EQ(alerts->shown().size(), 2);
    for (const RecordingAlerts::Shown& shown : alerts->shown()) {
        EXPECT_EQ(shown.title, "Defining a game rotation");
        EXPECT_EQ(shown.message, "You must refresh the server before use");
        EXPECT_EQ(shown.defaultButton, "OK");
    }
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(GameRotationOpeningTest, eachOpeningBindsTheOneEditorToTheSelectedServerWithAnEmptyRotation)
{
    ListedServer alpha({"mp_carentan", "mp_harbor"}, controller->myServers().at(0));
    ListedServer bravo({"mp_dawnville"}, controller->myServers().at(1));
    selectFavourite(0);
    openEditor();
    GameRotation* opened = editor();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(items(control<QComboBox>("gametypePopUp")), drawerGametypes);
    EXPECT_EQ(control<QTableView>("tableAvailableMaps").model()->rowCount(), 2);

    control<QTableView>("tableAvailableMaps").selectRow(1);
    control<QPushButton>("addMapButton").click();
    control<QPushButton>("saveConfigsButton").click();
    control<QPushButton>("cancelGameRotationButton").click();
    EXPECT_FALSE(opened->isVisible());
    EXPECT_TRUE(alpha.commands().isEmpty());

    selectFavourite(1);
    openEditor();
    EXPECT_EQ(editor(), opened);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_TRUE(opened->theMapsForRotation().isEmpty());
    QAbstractItemModel& maps = *control<QTableView>("tableAvailableMaps").model();
    ASSERT_EQ(maps.rowCount(), 1);
    EXPECT_EQ(maps.index(0, 0).data().toString(), "mp_dawnville");
    EXPECT_EQ(items(control<QComboBox>("configComboBox")), QStringList({"Config 1"}));
    EXPECT_TRUE(alerts->shown().isEmpty());
}
