#include "app/Zorvel.h"
#include "platform/Preferences.h"
#include "prefs/PreferenceController.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TestPreferences.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

Preferences& store()
{
    return Preferences::standard();
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
    open();

    EXPECT_TRUE(control<QCheckBox>("autoRefreshButton").isChecked());
    EXPECT_EQ(shown("latencyBox"), "<none>");
    EXPECT_EQ(shown("timeoutBox"), "<none>");
    EXPECT_EQ(control<QComboBox>("refreshDelayBox").currentIndex(), 5);
    EXPECT_EQ(control<QSlider>("speedOfRefreshSlider").value(), 5) << "100 is nearest to 125";
    EXPECT_EQ(text("UOMSTextField"), "uo.example.org");
    EXPECT_EQ(text("CoDMSTextField"), store().registeredDefaultForKey("CoD Master Server").toString());

    press("okButton");
    EXPECT_EQ(store().stringForKey("Latency for double command"), "123 ms");
    EXPECT_EQ(store().integerForKey("Timeout"), 123000);
    EXPECT_EQ(store().integerForKey("Refresh delay in seconds"), 2400);
    EXPECT_EQ(store().integerForKey("Number of servers by thread"), 125) << "the number of the slider's position";
    EXPECT_EQ(store().stringForKey("UO Master Server"), "uo.example.org");
}

// The scan's tries sit beside its pace: the stored number is shown, and what the
// user types, kept within 1 to 5, is stored by OK.
TEST_F(PreferencePanel, theScanTriesAreShownAndStoredWithinTheirRange)
{
    EXPECT_EQ(store().integerForKey("Scan tries"), 3) << "three tries unless the user says otherwise";
    store().setObject(2, "Scan tries");
    open();
    QSpinBox& tries = control<QSpinBox>("triesBox");
    EXPECT_EQ(tries.value(), 2);
    tries.setFocus();
    QTest::keyClick(&tries, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&tries, "4");
    QTest::keyClick(&tries, Qt::Key_Up);
    QTest::keyClick(&tries, Qt::Key_Up);
    press("okButton");
    EXPECT_EQ(store().integerForKey("Scan tries"), 5);
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
    QSlider& speed = control<QSlider>("speedOfRefreshSlider");
    QTest::keyClick(&speed, Qt::Key_End);
    EXPECT_EQ(control<QLabel>("paceLabel").text(), QLocale().toString(20000) + " queries a second");
    QTest::keyClick(&speed, Qt::Key_Home);
    EXPECT_EQ(control<QLabel>("paceLabel").text(), "250 queries a second");
    press("okButton");

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

    // Settings other than the periodic refresh post nothing.
    open();
    choose("latencyBox", "2 s");
    press("okButton");
    EXPECT_EQ(posted.count(), 0);

    open();
    check("autoRefreshButton", true);
    choose("refreshDelayBox", "5 minutes");
    press("okButton");
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.takeFirst(), QVariantList({true, 300}));
}

TEST_F(PreferencePanel, cancelStoresNothing)
{
    open();
    choose("latencyBox", "1 s");
    type("CoDMSTextField", "edited.example.org");
    press("cancelButton");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(store().stringForKey("Latency for double command"), "500 ms");
    EXPECT_EQ(store().stringForKey("CoD Master Server"),
              store().registeredDefaultForKey("CoD Master Server").toString());
}

TEST_F(PreferencePanel, okWithAFailedWriteSaysSoAndStaysOpenAnnouncingNothing)
{
    TestPreferences::installUnwritable();
    const RecordingAlerts& alerts = RecordingAlerts::install();
    controller = std::make_unique<Zorvel>();
    QSignalSpy posted(&open(), &PreferenceController::XRRefreshChanged);
    check("autoRefreshButton", true);
    press("okButton");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(posted.count(), 0);
    ASSERT_EQ(alerts.shown().size(), 1);
    EXPECT_EQ(alerts.shown().first().title, "Preferences");
}

TEST_F(PreferencePanel, everyMasterServerHasARestoreButtonAndThePeriodIsOnlyEditableWithPeriodicRefresh)
{
    store().setObject(false, "Auto Refresh");
    open();
    for (const char* button : {"restoreCoDMSButton", "restoreUOMSButton", "restoreCoD2MSButton", "restoreCoD4MSButton"})
        EXPECT_EQ(control<QPushButton>(button).text(), "Restore") << button;
    type("CoD2MSPortTextField", "1");
    QMenu* protocols = control<QPushButton>("restoreCoD2MSButton").menu();
    ASSERT_NE(protocols, nullptr);
    ASSERT_EQ(protocols->actions().size(), 3);
    EXPECT_EQ(protocols->actions().at(1)->text(), "Protocol 117");
    protocols->actions().at(1)->trigger();
    EXPECT_EQ(text("CoD2MSPortTextField"), "20710");
    EXPECT_EQ(text("CoD2ProtocolTextField"), "117");

    EXPECT_FALSE(control<QComboBox>("refreshDelayBox").isEnabled());
    control<QCheckBox>("autoRefreshButton").click();
    EXPECT_TRUE(control<QComboBox>("refreshDelayBox").isEnabled());
    control<QCheckBox>("autoRefreshButton").click();
    EXPECT_FALSE(control<QComboBox>("refreshDelayBox").isEnabled());
}

// The history's retention shows what is stored, takes what the user types, and is
// stored by OK alone.
TEST_F(PreferencePanel, theHistorysRetentionIsTypedAndStoredByOk)
{
    store().setObject(30, "History days for scans");
    open();
    QSpinBox& favourites = control<QSpinBox>("Historydaysforfavourites");
    QSpinBox& scans = control<QSpinBox>("Historydaysforscans");
    QSpinBox& size = control<QSpinBox>("HistorysizelimitinMB");
    EXPECT_EQ(favourites.value(), 90);
    EXPECT_EQ(scans.value(), 30);
    EXPECT_EQ(size.value(), 200);

    favourites.setFocus();
    favourites.selectAll();
    QTest::keyClicks(&favourites, "365");
    size.selectAll();
    QTest::keyClicks(&size, "5");
    press("cancelButton");
    EXPECT_EQ(store().integerForKey("History days for favourites"), 90);

    open();
    press("okButton");
    EXPECT_EQ(store().integerForKey("History days for favourites"), 365);
    EXPECT_EQ(store().integerForKey("History days for scans"), 30);
    EXPECT_EQ(store().integerForKey("History size limit in MB"), 5);
}
