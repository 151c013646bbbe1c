#include "ListedServer.h"
#include "MapForRotationPrinter.h"

#include "admin/ConfigForRotation.h"
#include "admin/GameRotation.h"
#include "app/Preferences.h"
#include "support/RecordingAlerts.h"
#include "support/TestPreferences.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

const QStringList codGametypes = {"dm", "tdm", "sd", "hq", "bel", "re"};
const QStringList serverMaps = {"mp_carentan", "mp_brecourt", "mp_harbor"};
const QString myConfigs = QStringLiteral("myConfigs");
constexpr std::chrono::milliseconds latency(20);

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

    void reopen(const ListedServer& listed)
    {
        editor->setTheServer(listed.server);
        editor->setAvailableGametypes(codGametypes);
        editor->prepareUI();
        editor->show();
    }

    template <class Widget>
    Widget& control(const char* name) const
    {
        auto* widget = editor->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    QPushButton& button(const char* name) const { return control<QPushButton>(name); }
    QComboBox& configComboBox() const { return control<QComboBox>("configComboBox"); }
    QTableView& mapsView() const { return control<QTableView>("tableAvailableMaps"); }
    QTableView& rotationView() const { return control<QTableView>("tableRotationMaps"); }
    QAbstractItemModel& rotationTable() const { return *rotationView().model(); }
    QAbstractItemModel& mapsTable() const { return *mapsView().model(); }

    static void select(QTableView& table, int row)
    {
        table.selectionModel()->clearSelection();
        if (row >= 0)
            table.selectRow(row);
    }

    void chooseGametype(const QString& gametype) const
    {
        auto& popUp = control<QComboBox>("gametypePopUp");
        popUp.setCurrentIndex(popUp.findText(gametype));
    }

    void addMap(int mapRow, const QString& gametype) const
    {
        select(mapsView(), mapRow);
        chooseGametype(gametype);
        button("addMapButton").click();
    }

    void typeConfigName(const QString& name) const { configComboBox().setEditText(name); }

    // Stores one saved rotation, as an earlier run would have.
    static void storeConfig(const QString& name, const QList<MapForRotation>& rotation)
    {
        const QByteArray stored = ConfigForRotation::archiveList({ConfigForRotation(name, rotation)});
        Preferences::standard().setObject(stored, myConfigs);
    }

    QStringList configItems() const
    {
        QStringList items;
        for (int i = 0; i < configComboBox().count(); ++i)
            items.append(configComboBox().itemText(i));
        return items;
    }

    QString cell(int row, int column) const { return rotationTable().index(row, column).data().toString(); }
    bool isRed(int row) const
    {
        return rotationTable().index(row, 0).data(Qt::ForegroundRole) == QVariant(QColor(Qt::red));
    }

    RecordingAlerts* alerts = nullptr;
    std::unique_ptr<GameRotation> editor;
};

using Rotation = QList<MapForRotation>;

}  // namespace

TEST_F(GameRotationTest, addingAppendsOrInsertsAboveTheSelectedEntryAndEnablesTheButtons)
{
    ListedServer listed(serverMaps);
    open(listed);
    EXPECT_EQ(mapsTable().rowCount(), 3);
    const auto needARotation = [this] {
        return QList<bool>({button("removeMapButton").isEnabled(), button("createGameRotationButton").isEnabled(),
                            button("saveConfigsButton").isEnabled()});
    };
    EXPECT_EQ(needARotation(), QList<bool>(3, false));

    button("addMapButton").click();
    EXPECT_TRUE(editor->theMapsForRotation().isEmpty()) << "no map selected";

    addMap(0, "sd");
    EXPECT_EQ(needARotation(), QList<bool>(3, true));

    control<QCheckBox>("insertOrAddButton").setChecked(true);
    select(rotationView(), -1);
    chooseGametype("tdm");
    QTableView& maps = mapsView();
    const QPoint second = maps.visualRect(mapsTable().index(1, 0)).center();
    QTest::mouseClick(maps.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(maps.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_carentan", "sd"}, {"mp_brecourt", "tdm"}}));

    select(rotationView(), 1);
    addMap(2, "hq");
    EXPECT_EQ(editor->theMapsForRotation(),
              Rotation({{"mp_carentan", "sd"}, {"mp_harbor", "hq"}, {"mp_brecourt", "tdm"}}));
    EXPECT_EQ(cell(1, 0) + ' ' + cell(1, 1), "mp_harbor hq");

    ListedServer empty({});
    reopen(empty);
    EXPECT_TRUE(editor->theMapsForRotation().isEmpty());
    EXPECT_FALSE(button("addMapButton").isEnabled());
}

TEST_F(GameRotationTest, entriesOfMapsTheServerLacksAreRedUntilCleanedAway)
{
    storeConfig("elsewhere",
                {{"mp_carentan", "sd"}, {"mp_stalingrad", "tdm"}, {"mp_harbor", "actf"}, {"mp_rhine", "dm"}});
    ListedServer listed(serverMaps);
    open(listed);
    typeConfigName("elsewhere");
    button("recallConfigButton").click();
    ASSERT_EQ(rotationTable().rowCount(), 4);
    EXPECT_EQ(QList<bool>({isRed(0), isRed(1), isRed(2), isRed(3)}), QList<bool>({false, true, false, true}));
    EXPECT_EQ(cell(2, 1), "") << "a gametype the server's game does not offer shows no choice";

    button("clearMapsButton").click();
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_carentan", "sd"}, {"mp_harbor", "actf"}}));

    chooseGametype("bel");
    button("changeAllGametypesButton").click();
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_carentan", "bel"}, {"mp_harbor", "bel"}}));

    select(rotationView(), -1);
    button("removeMapButton").click();
    EXPECT_EQ(alerts->beeps(), 1);
    select(rotationView(), 0);
    button("removeMapButton").click();
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_harbor", "bel"}}));
    button("removeAllMapsButton").click();
    EXPECT_EQ(rotationTable().rowCount(), 0);
    EXPECT_FALSE(button("createGameRotationButton").isEnabled());
}

TEST_F(GameRotationTest, theGametypePopUpOfARowGivesItsEntryThePickedGametype)
{
    ListedServer listed(serverMaps);
    open(listed);
    addMap(0, "sd");
    QTableView& table = rotationView();
    table.edit(rotationTable().index(0, 1));
    auto* popUp = table.viewport()->findChild<QComboBox*>();
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(popUp->count(), codGametypes.size());
    EXPECT_EQ(popUp->currentText(), "sd");
    popUp->setCurrentIndex(4);
    emit popUp->activated(4);
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_carentan", "bel"}}));
}

TEST_F(GameRotationTest, aPlainDragMovesWithinTheRotationAndAnAltDragOrANewMapAdds)
{
    ListedServer listed(serverMaps);
    open(listed);
    addMap(0, "sd");
    addMap(1, "tdm");
    addMap(2, "dm");
    const auto drag = [this](QAbstractItemModel& from, int row) {
        return std::unique_ptr<QMimeData>(from.mimeData({from.index(row, 0)}));
    };
    const auto drop = [this](const QMimeData& data, Qt::DropAction action, int row) {
        return rotationTable().dropMimeData(&data, action, row, 0, {});
    };

    EXPECT_TRUE(drop(*drag(rotationTable(), 0), Qt::MoveAction, 3));
    EXPECT_TRUE(drop(*drag(rotationTable(), 1), Qt::CopyAction, 0));
    EXPECT_EQ(editor->theMapsForRotation(),
              Rotation({{"mp_harbor", "dm"}, {"mp_brecourt", "tdm"}, {"mp_harbor", "dm"}, {"mp_carentan", "sd"}}));
    EXPECT_EQ(cell(3, 0), "mp_carentan");

    chooseGametype("hq");
    const std::unique_ptr<QMimeData> fromMaps = drag(mapsTable(), 1);
    button("removeAllMapsButton").click();
    EXPECT_TRUE(drop(*fromMaps, Qt::CopyAction, -1));
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_brecourt", "hq"}}));
    EXPECT_TRUE(button("createGameRotationButton").isEnabled());

    QMimeData foreign;
    foreign.setText("mp_brecourt hq 0");
    EXPECT_FALSE(drop(foreign, Qt::MoveAction, 0));
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_brecourt", "hq"}}));
}

TEST_F(GameRotationTest, savedRotationsKeepTheListAndTheStoreInStepAcrossARestart)
{
    ListedServer listed(serverMaps);
    open(listed);
    button("saveConfigsButton").click();
    EXPECT_FALSE(Preferences::standard().objectForKey(myConfigs).isValid()) << "an empty rotation is not saved";

    addMap(0, "sd");
    button("saveConfigsButton").click();
    EXPECT_EQ(configItems(), QStringList({"Config 1"}));
    EXPECT_EQ(configComboBox().currentText(), "");

    typeConfigName("Night");
    button("saveConfigsButton").click();
    addMap(1, "tdm");
    button("saveConfigsButton").click();
    typeConfigName("night");
    button("saveConfigsButton").click();
    EXPECT_EQ(configItems(), QStringList({"Config 1", "Night", "night"}));
    EXPECT_EQ(configComboBox().currentText(), "night");

    typeConfigName("Night");
    alerts->answerNext(Alerts::AlternateButton);
    button("deleteConfigButton").click();
    EXPECT_EQ(configItems().size(), 3);
    button("deleteConfigButton").click();
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().last().message, "Do you want to delete Night ?");
    EXPECT_EQ(configItems(), QStringList({"Config 1", "night"}));
    EXPECT_EQ(configComboBox().currentText(), "");

    typeConfigName("Nobody");
    button("deleteConfigButton").click();
    EXPECT_EQ(alerts->shown().size(), 2);

    editor.reset();
    ListedServer other({"mp_dawnville"});
    open(other);
    EXPECT_EQ(configItems(), QStringList({"Config 1", "night"}));
    typeConfigName("night");
    button("recallConfigButton").click();
    EXPECT_EQ(editor->theMapsForRotation(), Rotation({{"mp_carentan", "sd"}, {"mp_brecourt", "tdm"}}));
    EXPECT_TRUE(isRed(0));
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

    button("createGameRotationButton").click();
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

    // Without the start box, only the rotation follows.
    control<QCheckBox>("map_restartButton").setChecked(false);
    addMap(0, "sd");
    button("createGameRotationButton").click();
    next.waitForCommands(2);
    QTest::qWait(int(4 * latency.count()));
    EXPECT_EQ(next.commands(), QList<QByteArray>({"set sv_mapRotationCurrent \"\"",
                                                   "set sv_mapRotationCurrent \"gametype sd map mp_dawnville \""}));
}

TEST_F(GameRotationTest, aRotationThatWouldArriveHalfMadeIsRefusedWithNothingSent)
{
    storeConfig("elsewhere", {{"mp_stalingrad", "sd"}});
    ListedServer listed(serverMaps);
    open(listed);
    typeConfigName("elsewhere");
    button("recallConfigButton").click();
    button("createGameRotationButton").click();
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().at(0).message, "None of the maps of this rotation is on the server: nothing was sent.");
    EXPECT_TRUE(editor->isVisible());

    // Each entry adds 28 characters to the request: 17 of them reach past its 511 bytes.
    button("removeAllMapsButton").click();
    for (int i = 0; i < 17; ++i)
        addMap(1, "sd");
    button("createGameRotationButton").click();
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_TRUE(alerts->shown().at(1).message.startsWith("This rotation is too long to be sent as one command"));
    EXPECT_TRUE(editor->isVisible());
    QTest::qWait(int(4 * latency.count()));
    EXPECT_TRUE(listed.commands().isEmpty());

    select(rotationView(), 0);
    button("removeMapButton").click();
    button("createGameRotationButton").click();
    listed.waitForCommands(2);
    EXPECT_EQ(listed.peer.receivedDatagrams().last().size(), 4 + 12 + 27 + 16 * 28 + 1);
    EXPECT_TRUE(listed.commands().last().endsWith("map mp_brecourt \""));
}
