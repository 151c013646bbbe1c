#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "prefs/PreferenceController.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

Preferences& store()
{
    return Preferences::standard();
}

QString factoryText(const QString& key)
{
    return store().registeredDefaultForKey(key).toString();
}

QList<PreferenceController*> panelsOnScreen()
{
    QList<PreferenceController*> panels;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* panel = qobject_cast<PreferenceController*>(window); panel && panel->isVisible())
            panels.append(panel);
    return panels;
}

}  // namespace

// Each test starts a run on a fresh store, stores what it needs, then opens the
// panel through the controller, which loads the controls at that first opening.
class PreferencePanel : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        RecordingAlerts::install();
        RecordingDesktop::install();
        controller = std::make_unique<Zorvel>();
    }

    PreferenceController& open()
    {
        controller->showPreferencePanel();
        const QList<PreferenceController*> panels = panelsOnScreen();
        EXPECT_EQ(panels.size(), 1);
        panel = panels.value(0);
        return *panel;
    }

    // A new run: a new controller whose panel has not been opened yet.
    void restart()
    {
        controller = std::make_unique<Zorvel>();
        panel = nullptr;
    }

    template <class Control>
    Control& control(const QString& name) const
    {
        auto* found = panel->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return *found;
    }

    QString shown(const char* box) const
    {
        const QComboBox& combo = control<QComboBox>(box);
        return combo.currentIndex() < 0 ? QStringLiteral("<none>") : combo.currentText();
    }
    QString text(const QString& field) const { return control<QLineEdit>(field).text(); }
    // The host, port and protocol fields of a game's master server.
    QStringList masterServer(const QString& game) const
    {
        return {text(game + "MSTextField"), text(game + "MSPortTextField"), text(game + "ProtocolTextField")};
    }

    void choose(const char* box, const QString& entry) const
    {
        QComboBox& combo = control<QComboBox>(box);
        ASSERT_GE(combo.findText(entry), 0) << entry.toStdString();
        combo.setCurrentIndex(combo.findText(entry));
    }

    // Opens the pop-up and clicks its entry, as the user does.
    void chooseFromPopUp(const char* popUp, int entry) const
    {
        QComboBox& combo = control<QComboBox>(popUp);
        combo.showPopup();
        QAbstractItemView* list = combo.view();
        const QPoint centre = list->visualRect(list->model()->index(entry, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    }

    void type(const char* field, const QString& typed) const { control<QLineEdit>(field).setText(typed); }
    void press(const char* button) const { control<QPushButton>(button).click(); }
    void pressOk() const { press("okButton"); }

    std::unique_ptr<Zorvel> controller;
    PreferenceController* panel = nullptr;
};

TEST_F(PreferencePanel, loadingShowsEveryStoredSetting)
{
    store().setObject(true, "Refresh server when selected");
    store().setObject(true, "Auto Refresh");
    store().setObject("250 ms", "Latency for double command");
    store().setObject(300000, "Timeout");
    store().setObject(2400, "Refresh delay in seconds");
    store().setObject(50, "Number of servers by thread");
    store().setObject("uo.example.org", "UO Master Server");
    store().setObject("20811", "CoD4 Master Server Port");
    store().setObject("118", "CoD2 Master Server Protocol");
    open();

    EXPECT_TRUE(control<QCheckBox>("refreshWhenSelectedButton").isChecked());
    EXPECT_TRUE(control<QCheckBox>("autoRefreshButton").isChecked());
    EXPECT_EQ(shown("latencyBox"), "250 ms");
    EXPECT_EQ(shown("timeoutBox"), "300 ms");
    EXPECT_EQ(control<QComboBox>("refreshDelayBox").currentIndex(), 5);
    EXPECT_EQ(control<QSlider>("speedOfRefreshSlider").value(), 6);
    EXPECT_EQ(text("UOMSTextField"), "uo.example.org");
    EXPECT_EQ(text("CoD4MSPortTextField"), "20811");
    EXPECT_EQ(text("CoD2ProtocolTextField"), "118");
    EXPECT_EQ(text("CoDMSTextField"), factoryText("CoD Master Server"));
    EXPECT_EQ(text("CoDMSPortTextField"), "20510");
    EXPECT_EQ(text("UOProtocolTextField"), "22");
}

TEST_F(PreferencePanel, timeoutAndRefreshDelayBoxesSelectTheirEntryByTheStoredNumber)
{
    const QList<std::pair<int, QString>> timeouts = {
        {999000, "1 s"}, {900000, "1 s"}, {750000, "750 ms"}, {899999, "<none>"}, {0, "<none>"}};
    for (const auto& [timeout, entry] : timeouts) {
        restart();
        store().setObject(timeout, "Timeout");
        open();
        EXPECT_EQ(shown("timeoutBox"), entry) << timeout;
    }
    const QList<std::pair<int, int>> delays = {{60, 0}, {3600, 6}, {600, 3}, {900, 3}, {0, 3}};
    for (const auto& [delay, entry] : delays) {
        restart();
        store().setObject(delay, "Refresh delay in seconds");
        open();
        EXPECT_EQ(control<QComboBox>("refreshDelayBox").currentIndex(), entry) << delay;
    }
}

TEST_F(PreferencePanel, okStoresEveryControlInItsStoredForm)
{
    open();
    control<QCheckBox>("refreshWhenSelectedButton").setChecked(true);
    choose("latencyBox", "1 s");
    type("CoDMSTextField", "");
    type("UOMSPortTextField", "not a port");
    type("CoD4ProtocolTextField", "7");
    choose("timeoutBox", "1 s");
    choose("refreshDelayBox", "20 minutes");
    control<QSlider>("speedOfRefreshSlider").setValue(1);
    pressOk();

    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(store().boolForKey("Refresh server when selected"));
    EXPECT_FALSE(store().boolForKey("Auto Refresh"));
    EXPECT_EQ(store().stringForKey("Latency for double command"), "1 s");
    EXPECT_EQ(store().stringForKey("CoD Master Server"), "");
    EXPECT_EQ(store().stringForKey("UO Master Server Port"), "not a port");
    EXPECT_EQ(store().stringForKey("CoD4 Master Server Protocol"), "7");
    EXPECT_EQ(store().integerForKey("Timeout"), 999000);
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 1200);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 2000);

    open();
    choose("timeoutBox", "750 ms");
    control<QSlider>("speedOfRefreshSlider").setValue(4);
    pressOk();
    EXPECT_EQ(store().integerForKey("Timeout"), 750000);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 250);
}

TEST_F(PreferencePanel, storedValuesThatNoEntryShowsAreKeptByOkExceptTheSlidersNumber)
{
    store().setObject("123 ms", "Latency for double command");
    store().setObject(123000, "Timeout");
    store().setObject(100, "Number of servers by thread");
    open();
    EXPECT_EQ(shown("latencyBox"), "<none>");
    EXPECT_EQ(shown("timeoutBox"), "<none>");
    const int layoutPosition = 4;
    EXPECT_EQ(control<QSlider>("speedOfRefreshSlider").value(), layoutPosition);

    pressOk();
    EXPECT_EQ(store().stringForKey("Latency for double command"), "123 ms");
    EXPECT_EQ(store().integerForKey("Timeout"), 123000);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 250);
}

TEST_F(PreferencePanel, refreshChangeIsPostedExactlyWhenTheSwitchOrThePeriodChanged)
{
    QSignalSpy posted(&open(), &PreferenceController::XRRefreshChanged);
    pressOk();
    EXPECT_EQ(posted.count(), 0) << "nothing changed";

    open();
    control<QCheckBox>("refreshWhenSelectedButton").setChecked(true);
    choose("latencyBox", "2 s");
    choose("timeoutBox", "100 ms");
    type("CoD2MSTextField", "elsewhere.example.org");
    control<QSlider>("speedOfRefreshSlider").setValue(7);
    pressOk();
    EXPECT_EQ(posted.count(), 0) << "only settings other than the periodic refresh changed";

    open();
    choose("refreshDelayBox", "5 minutes");
    pressOk();
    ASSERT_EQ(posted.count(), 1) << "the period changed while the refresh stays off";
    EXPECT_EQ(posted.takeFirst(), QVariantList({false, 300}));

    open();
    pressOk();
    EXPECT_EQ(posted.count(), 0) << "the change was announced already";

    open();
    control<QCheckBox>("autoRefreshButton").setChecked(true);
    pressOk();
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.takeFirst(), QVariantList({true, 300}));

    open();
    control<QCheckBox>("autoRefreshButton").setChecked(false);
    control<QCheckBox>("autoRefreshButton").setChecked(true);
    choose("refreshDelayBox", "1 minute");
    choose("refreshDelayBox", "5 minutes");
    pressOk();
    EXPECT_EQ(posted.count(), 0) << "edits that came back to the announced values";
}

TEST_F(PreferencePanel, aPeriodThatNoEntryShowsIsStoredAsTheDefaultEntryAndAnnounced)
{
    store().setObject(900, "Refresh delay in seconds");
    QSignalSpy posted(&open(), &PreferenceController::XRRefreshChanged);
    pressOk();
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 600);
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.takeFirst(), QVariantList({false, 600}));
}

TEST_F(PreferencePanel, cancelStoresNothingAndTheNextOpeningShowsTheAbandonedEdits)
{
    PreferenceController& first = open();
    choose("latencyBox", "1 s");
    type("CoDMSTextField", "edited.example.org");
    press("cancelButton");
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(store().stringForKey("Latency for double command"), "500 ms");
    EXPECT_EQ(store().stringForKey("CoD Master Server"), factoryText("CoD Master Server"));

    store().setObject("stored.example.org", "UO Master Server");
    EXPECT_EQ(&open(), &first);
    EXPECT_EQ(shown("latencyBox"), "1 s");
    EXPECT_EQ(text("CoDMSTextField"), "edited.example.org");
    EXPECT_EQ(text("UOMSTextField"), factoryText("UO Master Server")) << "the panel loads only at its first opening";

    pressOk();
    EXPECT_EQ(store().stringForKey("Latency for double command"), "1 s");
    EXPECT_EQ(store().stringForKey("CoD Master Server"), "edited.example.org");
}

TEST_F(PreferencePanel, restoreActionsPutFactoryValuesIntoTheControlsOnly)
{
    for (const QString game : {"CoD", "UO", "CoD2", "CoD4"}) {
        store().setObject("custom.example.org", game + " Master Server");
        store().setObject("1", game + " Master Server Port");
        store().setObject("2", game + " Master Server Protocol");
    }
    store().setObject("100 ms", "Latency for double command");
    open();

    press("restoreLatencyButton");
    press("restoreTimeoutButton");
    press("restoreCoDMSButton");
    press("restoreUOMSButton");
    chooseFromPopUp("restoreCoD2MSPopUp", 1);
    chooseFromPopUp("restoreCoD4MSPopUp", 2);
    EXPECT_EQ(shown("latencyBox"), "500 ms");
    EXPECT_EQ(shown("timeoutBox"), "750 ms");
    EXPECT_EQ(masterServer("CoD"), QStringList({factoryText("CoD Master Server"), "20510", "6"}));
    EXPECT_EQ(masterServer("UO"), QStringList({factoryText("UO Master Server"), "20610", "22"}));
    EXPECT_EQ(masterServer("CoD2"), QStringList({factoryText("CoD2 Master Server"), "20710", "117"}));
    EXPECT_EQ(masterServer("CoD4"), QStringList({factoryText("CoD4 Master Server"), "20810", "6"}));

    type("CoD4MSTextField", "custom.example.org");
    type("CoD4ProtocolTextField", "2");
    panel->restoreCoD4MS(-1);
    EXPECT_EQ(masterServer("CoD4"), QStringList({factoryText("CoD4 Master Server"), "20810", "2"}))
        << "no entry chosen: the protocol stays";

    EXPECT_EQ(store().stringForKey("Latency for double command"), "100 ms");
    EXPECT_EQ(store().stringForKey("UO Master Server"), "custom.example.org");
    EXPECT_EQ(store().stringForKey("CoD2 Master Server Protocol"), "2");
}

TEST_F(PreferencePanel, thePreferencesCommandShowsOnePanelForTheWholeRun)
{
    MainWindow window(*controller);
    QAction* command = window.findChild<QAction*>("showPreferencePanel");
    ASSERT_NE(command, nullptr);
    command->trigger();
    const QList<PreferenceController*> first = panelsOnScreen();
    ASSERT_EQ(first.size(), 1);
    first.front()->close();
    EXPECT_TRUE(panelsOnScreen().isEmpty());

    command->trigger();
    EXPECT_EQ(panelsOnScreen(), first);
}
