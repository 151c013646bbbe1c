#pragma once

#include "prefs/HistoryPreferences.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class Preferences;
}
class MastersPage;
class QPushButton;

// The preferences panel, from the layout "Preferences": it edits the settings that
// the rest of Zorvel reads from the preference store. Its controls are filled from
// the store once, when the panel is made; OK stores every setting and announces a
// change of the periodic refresh; Cancel closes the window and leaves the edits on
// screen, so that the next opening shows them and OK would store them.
class PreferenceController : public QDialog {
    Q_OBJECT
public:
    explicit PreferenceController(QWidget* parent = nullptr);
    ~PreferenceController() override;

    // The four master servers, in the order the panel shows and stores them.
    enum MasterServer { CoDMaster, UOMaster, CoD2Master, CoD4Master };

public slots:
    // Stores every setting, announces a change of the periodic refresh, closes. When a
    // setting could not be stored an alert says so and the panel stays open.
    void validatePreference();
    // Closes the window and stores nothing.
    void cancelPreference();
    // Select the factory entries of the latency and timeout boxes.
    void restoreLatency();
    void restoreTimeout();
    // Put the factory host, port and protocol into the fields of a master server.
    void restoreCoDMS();
    void restoreUOMS();
    // The same with the protocol of the entry chosen in the Restore button's menu
    // (0 to 2); any other entry leaves the protocol field as it is.
    void restoreCoD2MS(int selectedEntry);
    void restoreCoD4MS(int selectedEntry);

signals:
    // The periodic refresh was switched on or off, or its period (in seconds)
    // changed: posted by OK with the switch and the period it stored.
    void XRRefreshChanged(bool autoRefresh, int refreshDelay);

private:
    void windowDidLoad();
    void connectControls();
    void offerProtocols(QPushButton& button, const QStringList& protocols,
                        void (PreferenceController::*restore)(int));
    void loadMasterServers();
    // The pace of the scans at the slider's position, in queries a second.
    void showPace(int position);
    bool storeMasterServers() const;
    void restoreMasterServer(MasterServer master, const QString& protocol);
    void arrangePages();

    std::unique_ptr<Ui::Preferences> ui;
    std::optional<HistoryPreferences> historyPreferences;
    // Owned by the window.
    MastersPage* mastersPage = nullptr;
    bool oldRefreshState = false;
    int oldRefreshDelay = 0;
};
