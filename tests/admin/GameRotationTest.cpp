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

const QStringList serverMaps = {"mp_carentan", "mp_brecourt", "mp_harbor"};
constexpr std::chrono::milliseconds latency(20);
using Rotation = QList<MapForRotation>;

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
        auto* widget = editor->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(std::string("no control ") + name);
        return *widget;
    }
    void click(const char* button) const { control<QPushButton>(button).click(); }
    QTableView& mapsView() const { return control<QTableView>("tableAvailableMaps"); }
    QTableView& rotationView() const { return control<QTableView>("tableRotationMaps"); }
    QAbstractItemModel& rotationTable() const { return *rotationView().model(); }
    Rotation rotation() const { return editor->theMapsForRotation(); }

    static void select(QTableView& table, int row)
    {
        table.clearSelection();
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
        click("addMapButton");
    }
    // Recalls the saved rotation of the name.
    void recall(const QString& name) const
    {
        control<QComboBox>("configComboBox").setEditText(name);
        click("recallConfigButton");
    }
    // Stores one saved rotation, as an earlier run would have.
    static void storeConfig(const QString& name, const Rotation& rotation)
    {
        Preferences::standard().setObject(ConfigForRotation::archiveList({ConfigForRotation(name, rotation)}),
                                          QStringLiteral("myConfigs"));
    }
    QStringList configItems() const
    {
        QStringList items;
        for (int i = 0; i < control<QComboBox>("configComboBox").count(); ++i)
            items.append(control<QComboBox>("configComboBox").itemText(i));
        return items;
    }
    QList<bool> redRows() const
    {
        QList<bool> red;
        for (int row = 0; row < rotationTable().rowCount(); ++row)
            red.append(rotationTable().index(row, 0).data(Qt::ForegroundRole) == QVariant(QColor(Qt::red)));
        return red;
    }

    RecordingAlerts* alerts = nullptr;
    std::unique_ptr<GameRotation> editor;
};

}  // namespace

TEST_F(GameRotationTest, entriesAreAddedInsertedRegametypedAndRemovedAndThoseTheServerLacksAreRed)
{
    storeConfig("elsewhere", {{"mp_carentan", "sd"}, {"mp_stalingrad", "tdm"}, {"mp_harbor", "actf"}});
    ListedServer listed(serverMaps);
    open(listed);
    EXPECT_FALSE(control<QPushButton>("createGameRotationButton").isEnabled());
    click("addMapButton");
    EXPECT_TRUE(rotation().isEmpty()) << "no map selected";

    addMap(0, "sd");
    EXPECT_TRUE(control<QPushButton>("createGameRotationButton").isEnabled());
    // With the insert box, a double click inserts above the selected entry.
    control<QCheckBox>("insertOrAddButton").setChecked(true);
    select(rotationView(), 0);
    chooseGametype("tdm");
    const QPoint second = mapsView().visualRect(mapsView().model()->index(1, 0)).center();
    QTest::mouseClick(mapsView().viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(mapsView().viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(rotation(), Rotation({{"mp_brecourt", "tdm"}, {"mp_carentan", "sd"}}));

    rotationView().edit(rotationTable().index(1, 1));
    auto* rowPopUp = rotationView().viewport()->findChild<QComboBox*>();
    ASSERT_NE(rowPopUp, nullptr);
    EXPECT_EQ(rowPopUp->currentText(), "sd");
    rowPopUp->setCurrentIndex(4);
    emit rowPopUp->activated(4);
    EXPECT_EQ(rotation(), Rotation({{"mp_brecourt", "tdm"}, {"mp_carentan", "bel"}}));

    recall("elsewhere");
    EXPECT_EQ(redRows(), QList<bool>({false, true, false}));
    EXPECT_EQ(rotationTable().index(2, 1).data().toString(), "") << "a gametype the game does not offer";
    click("clearMapsButton");
    chooseGametype("hq");
    click("changeAllGametypesButton");
    EXPECT_EQ(rotation(), Rotation({{"mp_carentan", "hq"}, {"mp_harbor", "hq"}}));

    select(rotationView(), -1);
    click("removeMapButton");
    EXPECT_EQ(alerts->beeps(), 1);
    select(rotationView(), 0);
    click("removeMapButton");
    EXPECT_EQ(rotation(), Rotation({{"mp_harbor", "hq"}}));
    click("removeAllMapsButton");
    EXPECT_EQ(rotationTable().rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>("createGameRotationButton").isEnabled());
}

TEST_F(GameRotationTest, aPlainDragMovesWithinTheRotationAndAnAltDragOrANewMapAdds)
{
    ListedServer listed(serverMaps);
    open(listed);
    for (int row : {0, 1, 2})
        addMap(row, "dm");
    const auto drop = [this](QAbstractItemModel& from, int fromRow, Qt::DropAction action, int row) {
        const std::unique_ptr<QMimeData> data(from.mimeData({from.index(fromRow, 0)}));
        return rotationTable().dropMimeData(data.get(), action, row, 0, {});
    };
    EXPECT_TRUE(drop(rotationTable(), 0, Qt::MoveAction, 3));
    EXPECT_TRUE(drop(rotationTable(), 1, Qt::CopyAction, 0));
    chooseGametype("hq");
    EXPECT_TRUE(drop(*mapsView().model(), 1, Qt::CopyAction, -1));
    EXPECT_EQ(rotation(), Rotation({{"mp_harbor", "dm"}, {"mp_brecourt", "dm"}, {"mp_harbor", "dm"},
                                    {"mp_carentan", "dm"}, {"mp_brecourt", "hq"}}));

    QMimeData foreign;
    foreign.setText("mp_brecourt hq 0");
    EXPECT_FALSE(rotationTable().dropMimeData(&foreign, Qt::MoveAction, 0, 0, {}));
    EXPECT_EQ(rotationTable().rowCount(), 5);
}

TEST_F(GameRotationTest, savedRotationsStayInStepWithTheStoreAndAreDeletedOnlyOnYes)
{
    ListedServer listed(serverMaps);
    open(listed);
    click("saveConfigsButton");
    EXPECT_FALSE(Preferences::standard().objectForKey(QStringLiteral("myConfigs")).isValid()) << "nothing to save";

    addMap(0, "sd");
    click("saveConfigsButton");
    for (const char* name : {"Night", "night"}) {
        control<QComboBox>("configComboBox").setEditText(name);
        click("saveConfigsButton");
    }
    EXPECT_EQ(configItems(), QStringList({"Config 1", "Night", "night"}));

    control<QComboBox>("configComboBox").setEditText("Night");
    alerts->answerNext(Alerts::AlternateButton);
    click("deleteConfigButton");
    EXPECT_EQ(configItems().size(), 3);
    click("deleteConfigButton");
    control<QComboBox>("configComboBox").setEditText("Nobody");
    click("deleteConfigButton");
    ASSERT_EQ(alerts->shown().size(), 2);
    EXPECT_EQ(alerts->shown().last().message, "Do you want to delete Night ?");

    editor.reset();
    ListedServer other({"mp_dawnville"});
    open(other);
    EXPECT_EQ(configItems(), QStringList({"Config 1", "night"}));
    recall("night");
    EXPECT_EQ(rotation(), Rotation({{"mp_carentan", "sd"}}));
    EXPECT_EQ(redRows(), QList<bool>{true});
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

TEST_F(GameRotationTest, aRotationThatWouldArriveHalfMadeIsRefusedWithNothingSent)
{
    storeConfig("elsewhere", {{"mp_stalingrad", "sd"}});
    ListedServer listed(serverMaps);
    open(listed);
    recall("elsewhere");
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

    select(rotationView(), 0);
    click("removeMapButton");
    click("createGameRotationButton");
    listed.waitForCommands(2);
    EXPECT_EQ(listed.peer.receivedDatagrams().last().size(), 4 + 12 + 27 + 16 * 28 + 1);
}
