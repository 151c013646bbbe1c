#include "ListedServer.h"

#include "admin/ConfigForRotation.h"
#include "admin/GameRotation.h"
#include "admin/RotationMapsModel.h"
#include "platform/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"
#include "support/UserInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

const QStringList serverMaps = {"mp_carentan", "mp_brecourt", "mp_harbor"};
constexpr std::chrono::milliseconds latency(20);

// The rotation editor, opened on a simulated server that lists three maps.
class GameRotationTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        Preferences::standard().setObject(QStringLiteral("20 ms"), QStringLiteral("Latency for double command"));
        alerts = &RecordingAlerts::install();
    }

    // Opens a new editor, as the first opening of a run does, on the listed server.
    void open(const ListedServer& listed)
    {
        editor = std::make_unique<GameRotation>();
        reopen(listed);
    }
    void reopen(const ListedServer& listed) const
    {
        editor->setTheServer(listed.server);
        editor->setAvailableGametypes({"dm", "tdm", "sd", "hq", "bel", "re"});
        editor->prepareUI();
        editor->show();
    }

    template <class Widget>
    Widget& control(const char* name) const
    {
        return *editor->findChild<Widget*>(QString::fromLatin1(name));
    }
    void click(const char* button) const { control<QPushButton>(button).click(); }
    void chooseGametype(const QString& gametype) const
    {
        auto& popUp = control<QComboBox>("gametypePopUp");
        popUp.setCurrentIndex(popUp.findText(gametype));
    }
    void addMap(int mapRow, const QString& gametype) const
    {
        control<QTableView>("tableAvailableMaps").selectRow(mapRow);
        chooseGametype(gametype);
        click("addMapButton");
    }

    RecordingAlerts* alerts = nullptr;
    std::unique_ptr<GameRotation> editor;
};

}  // namespace

TEST_F(GameRotationTest, namesAreTakenAsTypedAndASavedRotationIsDeletedOnlyOnYes)
{
    ListedServer listed(serverMaps);
    open(listed);
    const auto names = [this]() -> QComboBox& { return control<QComboBox>("configComboBox"); };
    // Clicking the button moves the focus out of the box, with or without Enter first.
    const auto typeAndClick = [&](const QString& name, const char* button, bool enter = true) {
        UserInput::typeInto(names(), name);
        if (enter)
            UserInput::pressEnter(names());
        UserInput::click(control<QPushButton>(button));
    };
    addMap(0, "sd");
    typeAndClick("Night", "saveConfigsButton");
    addMap(1, "re");
    typeAndClick("night", "saveConfigsButton");
    typeAndClick("Nig", "saveConfigsButton", false);
    typeAndClick("NIGHT", "deleteConfigButton", false);
    EXPECT_TRUE(alerts->shown().isEmpty()) << "no saved rotation has this name";

    alerts->answerNext(Alerts::AlternateButton);
    typeAndClick("Night", "deleteConfigButton");
    EXPECT_EQ(names().count(), 3);
    click("deleteConfigButton");
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().last().message, "Do you want to delete Night ?");

    open(listed);
    ASSERT_EQ(names().count(), 2);
    EXPECT_EQ(names().itemText(1), "Nig");
    typeAndClick("night", "recallConfigButton");
    EXPECT_EQ(editor->theMapsForRotation().size(), 2);
}

TEST_F(GameRotationTest, sendingEmptiesTheRotationThenSendsTheNewOneAndStartsItAtMultiplesOfTheLatency)
{
    ListedServer listed(serverMaps);
    ListedServer next({"mp_dawnville"});
    open(listed);
    addMap(0, "sd");
    addMap(1, "re");
    addMap(2, "tdm");
    editor->setAvailableGametypes({"dm", "tdm", "sd"});
    chooseGametype("dm");
    control<QCheckBox>("map_restartButton").setChecked(true);

    click("createGameRotationButton");
    EXPECT_FALSE(editor->isVisible());
    reopen(next);
    listed.waitForCommands(3);

    const QList<UdpPeer::Received> received = listed.commandsReceived();
    ASSERT_EQ(received.size(), 3);
    EXPECT_EQ(received.at(0).datagram, "set sv_mapRotationCurrent \"\"");
    EXPECT_EQ(received.at(1).datagram,
              "set sv_mapRotationCurrent \"gametype sd map mp_carentan gametype dm map mp_brecourt "
              "gametype tdm map mp_harbor \"");
    EXPECT_EQ(received.at(2).datagram, "map_rotate");
    EXPECT_GE(received.at(1).at - received.at(0).at, latency);
    EXPECT_GE(received.at(2).at - received.at(0).at, 3 * latency);
    EXPECT_TRUE(next.commands().isEmpty()) << "the delayed commands follow the rotation, not the editor";

    control<QCheckBox>("map_restartButton").setChecked(false);
    addMap(0, "sd");
    click("createGameRotationButton");
    next.waitForCommands(2);
    QTest::qWait(int(4 * latency.count()));
    EXPECT_EQ(next.commands(), QList<QByteArray>({"set sv_mapRotationCurrent \"\"",
                                                   "set sv_mapRotationCurrent \"gametype sd map mp_dawnville \""}))
        << "without the start box, only the rotation follows";
}

// Escape closes the editor as Cancel does, sending nothing; while a gametype cell is
// being changed, it only leaves the cell.
TEST_F(GameRotationTest, escapeLeavesAGametypeCellThenClosesTheEditorSendingNothing)
{
    ListedServer listed(serverMaps);
    open(listed);
    addMap(0, "sd");
    auto& rotation = control<QTableView>("tableRotationMaps");
    UserInput::clickRow(rotation, 0);
    rotation.edit(rotation.model()->index(0, RotationMapsModel::gametypeColumn));
    QWidget* cell = QApplication::focusWidget();
    ASSERT_NE(qobject_cast<QComboBox*>(cell), nullptr) << "the gametype's pop-up is open in the cell";
    QTest::keyClick(cell, Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible()) << "Escape left the cell only";
    EXPECT_EQ(rotation.model()->index(0, RotationMapsModel::gametypeColumn).data().toString(), "sd");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    QTest::qWait(int(4 * latency.count()));
    EXPECT_TRUE(listed.commands().isEmpty());
}

TEST_F(GameRotationTest, aRotationThatWouldArriveHalfMadeIsRefusedWithNothingSent)
{
    const ConfigForRotation elsewhere("elsewhere", {{"mp_stalingrad", "sd"}});
    Preferences::standard().setObject(ConfigForRotation::archiveList({elsewhere}), QStringLiteral("myConfigs"));
    ListedServer listed(serverMaps);
    open(listed);
    control<QComboBox>("configComboBox").setEditText("elsewhere");
    click("recallConfigButton");
    click("createGameRotationButton");
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().at(0).message, "None of the maps of this rotation is on the server: nothing was sent.");
    EXPECT_TRUE(editor->isVisible());

    // Each entry adds 28 characters to the request: 17 of them reach past its 511 bytes.
    click("removeAllMapsButton");
    for (int i = 0; i < 17; ++i)
        addMap(1, "sd");
    click("createGameRotationButton");
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_TRUE(alerts->shown().at(1).message.startsWith("This rotation is too long to be sent as one command"));
    EXPECT_TRUE(editor->isVisible());
    QTest::qWait(int(4 * latency.count()));
    EXPECT_TRUE(listed.commands().isEmpty());

    control<QTableView>("tableRotationMaps").selectRow(0);
    click("removeMapButton");
    click("createGameRotationButton");
    listed.waitForCommands(2);
    EXPECT_EQ(listed.peer.receivedDatagrams().last().size(), 4 + 12 + 27 + 16 * 28 + 1);
}

TEST_F(GameRotationTest, emptyListsAreExplainedAndWhatCannotActIsDisabled)
{
    const auto enabled = [this](const char* button) { return control<QPushButton>(button).isEnabled(); };
    const auto reason = [this] { return control<QLabel>("emptyListsReason").text(); };
    editor = std::make_unique<GameRotation>();
    const CodServerPtr arena = CodServer::create();
    arena->setServerGameName(QStringLiteral("baseoa"));
    editor->setTheServer(arena);
    editor->setAvailableGametypes({});
    editor->prepareUI();
    editor->show();
    EXPECT_TRUE(control<QLabel>("emptyListsReason").isVisible());
    EXPECT_EQ(reason(), "Zorvel cannot ask servers of this game for their maps. "
                        "Zorvel knows no gametypes of this game.");
    for (const char* button : {"addMapButton", "removeMapButton", "removeAllMapsButton", "clearMapsButton",
                               "changeAllGametypesButton", "recallConfigButton", "deleteConfigButton",
                               "saveConfigsButton", "createGameRotationButton"})
        EXPECT_FALSE(enabled(button)) << button;

    // A server of a game whose maps can be listed, that has not listed them.
    ListedServer unlisted(QStringList{});
    reopen(unlisted);
    EXPECT_TRUE(reason().startsWith("The server has sent no list of its maps")) << reason().toStdString();

    ListedServer listed(serverMaps);
    reopen(listed);
    EXPECT_FALSE(control<QLabel>("emptyListsReason").isVisible());
    addMap(0, "sd");
    for (const char* button : {"removeAllMapsButton", "clearMapsButton", "changeAllGametypesButton"})
        EXPECT_TRUE(enabled(button)) << button;
    UserInput::typeInto(control<QComboBox>("configComboBox"), "Night");
    EXPECT_FALSE(enabled("recallConfigButton")) << "no rotation is saved under this name yet";
    UserInput::click(control<QPushButton>("saveConfigsButton"));
    EXPECT_TRUE(enabled("recallConfigButton"));
    EXPECT_TRUE(enabled("deleteConfigButton"));
}
