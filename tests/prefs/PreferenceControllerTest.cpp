#include "app/Preferences.h"
#include "app/Zorvel.h"
#include "prefs/PreferenceController.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QAbstractItemView>
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

    // Shows the panel; in a new run (a new controller) it loads the stored settings.
    PreferenceController& open(bool newRun = false)
    {
        if (newRun)
            controller = std::make_unique<Zorvel>();
        controller->showPreferencePanel();
        panel = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<PreferenceController*>(window); shown && shown->isVisible())
                panel = shown;
        return *panel;
    }

    template <class Control>
    Control& control(const QString& name) const
    {
        auto* found = panel->findChild<Control*>(name);
        if (!found)
            throw std::runtime_error("no control " + name.toStdString());
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
    void check(const char* box, bool checked) const { control<QCheckBox>(box).setChecked(checked); }
    void type(const char* field, const QString& typed) const { control<QLineEdit>(field).setText(typed); }
    void press(const char* button) const { control<QPushButton>(button).click(); }

    std::unique_ptr<Zorvel> controller;
    PreferenceController* panel = nullptr;
};

TEST_F(PreferencePanel, theControlsShowTheStoredSettingsAndOkKeepsThoseThatNoEntryShows)
{
    store().setObject(true, "Auto Refresh");
    store().setObject("123 ms", "Latency for double command");
    store().setObject(123000, "Timeout");
    store().setObject(2400, "Refresh delay in seconds");
    store().setObject(100, "Number of servers by thread");
    store().setObject("uo.example.org", "UO Master Server");
    store().setObject("20811", "CoD4 Master Server Port");
    store().setObject("118", "CoD2 Master Server Protocol");
    open();

    EXPECT_TRUE(control<QCheckBox>("autoRefreshButton").isChecked());
    EXPECT_FALSE(control<QCheckBox>("refreshWhenSelectedButton").isChecked());
    EXPECT_EQ(shown("latencyBox"), "<none>");
    EXPECT_EQ(shown("timeoutBox"), "<none>");
    EXPECT_EQ(control<QComboBox>("refreshDelayBox").currentIndex(), 5);
    EXPECT_EQ(control<QSlider>("speedOfRefreshSlider").value(), 4);
    EXPECT_EQ(text("UOMSTextField"), "uo.example.org");
    EXPECT_EQ(text("CoD4MSPortTextField"), "20811");
    EXPECT_EQ(text("CoD2ProtocolTextField"), "118");
    EXPECT_EQ(masterServer("CoD"), QStringList({factoryText("CoD Master Server"), "20510", "6"}));

    press("okButton");
    EXPECT_EQ(store().stringForKey("Latency for double command"), "123 ms");
    EXPECT_EQ(store().integerForKey("Timeout"), 123000);
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 2400);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 250) << "the number of the slider's position";
    EXPECT_EQ(store().stringForKey("UO Master Server"), "uo.example.org");
}

TEST_F(PreferencePanel, timeoutAndRefreshDelayBoxesSelectTheirEntryByTheStoredNumber)
{
    for (const auto& [timeout, entry] : QList<std::pair<int, QString>>{
             {999000, "1 s"}, {900000, "1 s"}, {750000, "750 ms"}, {899999, "<none>"}, {0, "<none>"}}) {
        store().setObject(timeout, "Timeout");
        open(true);
        EXPECT_EQ(shown("timeoutBox"), entry) << timeout;
    }
    for (const auto& [delay, entry] : {std::pair{60, 0}, {3600, 6}, {600, 3}, {900, 3}, {0, 3}}) {
        store().setObject(delay, "Refresh delay in seconds");
        open(true);
        EXPECT_EQ(control<QComboBox>("refreshDelayBox").currentIndex(), entry) << delay;
    }
}

TEST_F(PreferencePanel, okStoresEveryControlInItsStoredForm)
{
    open();
    check("refreshWhenSelectedButton", true);
    choose("latencyBox", "1 s");
    type("CoDMSTextField", "");
    type("CoD4ProtocolTextField", "not a number");
    choose("timeoutBox", "1 s");
    choose("refreshDelayBox", "20 minutes");
    control<QSlider>("speedOfRefreshSlider").setValue(1);
    press("okButton");

    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(store().boolForKey("Refresh server when selected"));
    EXPECT_FALSE(store().boolForKey("Auto Refresh"));
    EXPECT_EQ(store().stringForKey("Latency for double command"), "1 s");
    EXPECT_EQ(store().stringForKey("CoD Master Server"), "");
    EXPECT_EQ(store().stringForKey("CoD4 Master Server Protocol"), "not a number");
    EXPECT_EQ(store().integerForKey("Timeout"), 999000);
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 1200);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 2000);
}

TEST_F(PreferencePanel, refreshChangeIsPostedExactlyWhenTheSwitchOrThePeriodChanged)
{
    store().setObject(900, "Refresh delay in seconds");
    QSignalSpy posted(&open(), &PreferenceController::XRRefreshChanged);
    press("okButton");
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 600) << "no entry shows 900 s";
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.takeFirst(), QVariantList({false, 600}));

    open();
    check("refreshWhenSelectedButton", true);
    choose("latencyBox", "2 s");
    type("CoD2MSTextField", "elsewhere.example.org");
    control<QSlider>("speedOfRefreshSlider").setValue(7);
    press("okButton");
    EXPECT_EQ(posted.count(), 0) << "only settings other than the periodic refresh changed";

    open();
    check("autoRefreshButton", true);
    choose("refreshDelayBox", "5 minutes");
    press("okButton");
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.takeFirst(), QVariantList({true, 300}));

    open();
    check("autoRefreshButton", false);
    check("autoRefreshButton", true);
    choose("refreshDelayBox", "1 minute");
    choose("refreshDelayBox", "5 minutes");
    press("okButton");
    EXPECT_EQ(posted.count(), 0) << "edits that came back to the announced values";
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
    EXPECT_EQ(text("UOMSTextField"), factoryText("UO Master Server")) << "the panel loads only at its first opening";
    press("okButton");
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
    press("restoreUOMSButton");
    // The pop-up's entries choose a protocol; none chosen keeps the typed one.
    QComboBox& popUp = control<QComboBox>("restoreCoD2MSPopUp");
    popUp.showPopup();
    QAbstractItemView* list = popUp.view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    panel->restoreCoD4MS(-1);
    EXPECT_EQ(shown("latencyBox"), "500 ms");
    EXPECT_EQ(shown("timeoutBox"), "750 ms");
    EXPECT_EQ(masterServer("UO"), QStringList({factoryText("UO Master Server"), "20610", "22"}));
    EXPECT_EQ(masterServer("CoD2"), QStringList({factoryText("CoD2 Master Server"), "20710", "117"}));
    EXPECT_EQ(masterServer("CoD4"), QStringList({factoryText("CoD4 Master Server"), "20810", "2"}));

    EXPECT_EQ(store().stringForKey("Latency for double command"), "100 ms");
    EXPECT_EQ(store().stringForKey("UO Master Server"), "custom.example.org");
    EXPECT_EQ(store().stringForKey("CoD2 Master Server Protocol"), "2");
}
