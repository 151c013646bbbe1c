#include "prefs/PreferenceController.h"

#include "platform/Alerts.h"
#include "platform/PlainText.h"
#include "platform/Preferences.h"
#include "platform/TextValue.h"
#include "platform/WindowMemory.h"
#include "prefs/MastersPage.h"
#include "prefs/ScanSpeed.h"

#include "ui_Preferences.h"

#include <QLocale>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

const QString refreshWhenSelectedKey = QStringLiteral("Refresh server when selected");
const QString autoRefreshKey = QStringLiteral("Auto Refresh");
const QString latencyKey = QStringLiteral("Latency for double command");
const QString timeoutKey = QStringLiteral("Timeout");
const QString refreshDelayKey = QStringLiteral("Refresh delay in seconds");
const QString serversByThreadKey = QStringLiteral("Number of servers by thread");
const QString scanTriesKey = QStringLiteral("Scan tries");

// The periods of the refresh delay box's entries, in seconds; a stored period that is
// none of them shows the entry of the default period.
const QList<int> refreshDelays = {60, 120, 300, 600, 1200, 2400, 3600};
const int defaultRefreshDelayEntry = 3;
// The timeout box shows waits from 900 ms on as its entry "1 s", which stores the
// longest wait the transport takes: 999000 microseconds.
const int longestTimeoutShownInMilliseconds = 899;
const int longestTimeout = 999000;

// The protocols that the restore menus of the CoD2 and CoD4 master servers offer,
// by entry.
const QStringList cod2Protocols = {QStringLiteral("115"), QStringLiteral("117"), QStringLiteral("118")};
const QStringList cod4Protocols = {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};

// The games of the master servers, as their setting keys begin, by
// PreferenceController::MasterServer.
const QStringList masterGames = {QStringLiteral("CoD"), QStringLiteral("UO"), QStringLiteral("CoD2"),
                                 QStringLiteral("CoD4")};
constexpr int masterCount = 4;

QString hostKey(int master)
{
    return masterGames.at(master) + QStringLiteral(" Master Server");
}

QString portKey(int master)
{
    return hostKey(master) + QStringLiteral(" Port");
}

QString protocolKey(int master)
{
    return hostKey(master) + QStringLiteral(" Protocol");
}

struct MasterServerFields {
    QLineEdit* host;
    QLineEdit* port;
    QLineEdit* protocol;
};

std::array<MasterServerFields, masterCount> masterServerFields(const Ui::Preferences& ui)
{
    return {{{ui.CoDMSTextField, ui.CoDMSPortTextField, ui.CoDProtocolTextField},
             {ui.UOMSTextField, ui.UOMSPortTextField, ui.UOProtocolTextField},
             {ui.CoD2MSTextField, ui.CoD2MSPortTextField, ui.CoD2ProtocolTextField},
             {ui.CoD4MSTextField, ui.CoD4MSPortTextField, ui.CoD4ProtocolTextField}}};
}

QString registeredText(const QString& key)
{
    return Preferences::standard().registeredDefaultForKey(key).toString();
}

// Selects the entry of that text, or no entry when the box has none.
void selectEntry(QComboBox& box, const QString& text)
{
    box.setCurrentIndex(box.findText(text));
}

// Stores the number that begins the selected entry, turned into the stored unit; a
// box with no selected entry leaves its setting as stored. False when the write failed.
template <class ToStored>
bool storeSelectedNumber(const QComboBox& box, const QString& key, ToStored toStored)
{
    return box.currentIndex() < 0
        || Preferences::standard().setObject(toStored(TextValue::integerValue(box.currentText())), key);
}

}  // namespace

PreferenceController::PreferenceController(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::Preferences>())
{
    ui->setupUi(this);
    arrangePages();
    PlainText::labelsOf(*this);
    WindowMemory::attach(*this, QStringLiteral("Preferences"));
    connectControls();
    windowDidLoad();
}

PreferenceController::~PreferenceController() = default;

// Two pages above the OK and Cancel buttons: "General" with the groups of the form and
// the history's, and "Masters" with every game's masters, which needs the room of a
// page of its own for its list.
void PreferenceController::arrangePages()
{
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("preferencePages"));
    auto* general = new QWidget(pages);
    auto* generalLayout = new QVBoxLayout(general);
    for (QWidget* group : {ui->refreshGroup, ui->networkGroup, ui->masterServersGroup})
        generalLayout->addWidget(group);
    historyPreferences.emplace(*generalLayout, generalLayout->count());
    generalLayout->addStretch();
    pages->addTab(general, tr("General"));
    mastersPage = new MastersPage(pages);
    pages->addTab(mastersPage, tr("Masters"));
    ui->preferencesLayout->insertWidget(0, pages);
}

void PreferenceController::connectControls()
{
    connect(ui->okButton, &QPushButton::clicked, this, &PreferenceController::validatePreference);
    connect(ui->cancelButton, &QPushButton::clicked, this, &PreferenceController::cancelPreference);
    connect(ui->restoreLatencyButton, &QPushButton::clicked, this, &PreferenceController::restoreLatency);
    connect(ui->restoreTimeoutButton, &QPushButton::clicked, this, &PreferenceController::restoreTimeout);
    connect(ui->restoreCoDMSButton, &QPushButton::clicked, this, &PreferenceController::restoreCoDMS);
    connect(ui->restoreUOMSButton, &QPushButton::clicked, this, &PreferenceController::restoreUOMS);
    offerProtocols(*ui->restoreCoD2MSButton, cod2Protocols, &PreferenceController::restoreCoD2MS);
    offerProtocols(*ui->restoreCoD4MSButton, cod4Protocols, &PreferenceController::restoreCoD4MS);
    // Periodic refresh off, its period has nothing to act on.
    connect(ui->autoRefreshButton, &QCheckBox::toggled, ui->refreshDelayBox, &QWidget::setEnabled);
    connect(ui->speedOfRefreshSlider, &QSlider::valueChanged, this, &PreferenceController::showPace);
}

// The Restore button of a master server with several protocols opens a menu of them;
// the entry chosen restores the master with that protocol.
void PreferenceController::offerProtocols(QPushButton& button, const QStringList& protocols,
                                          void (PreferenceController::*restore)(int))
{
    auto* menu = new QMenu(&button);
    for (int entry = 0; entry < protocols.size(); ++entry) {
        QAction* action = menu->addAction(QStringLiteral("Protocol %1").arg(protocols.at(entry)));
        connect(action, &QAction::triggered, this, [this, restore, entry] { (this->*restore)(entry); });
    }
    button.setMenu(menu);
}

void PreferenceController::windowDidLoad()
{
    const Preferences& store = Preferences::standard();
    ui->refreshWhenSelectedButton->setChecked(store.boolForKey(refreshWhenSelectedKey));
    oldRefreshState = store.boolForKey(autoRefreshKey);
    ui->autoRefreshButton->setChecked(oldRefreshState);
    ui->refreshDelayBox->setEnabled(oldRefreshState);
    selectEntry(*ui->latencyBox, store.stringForKey(latencyKey));
    loadMasterServers();
    historyPreferences->load();

    const int timeoutInMilliseconds = store.integerForKey(timeoutKey) / 1000;
    selectEntry(*ui->timeoutBox, timeoutInMilliseconds > longestTimeoutShownInMilliseconds
                                     ? QStringLiteral("1 s")
                                     : QStringLiteral("%1 ms").arg(timeoutInMilliseconds));

    oldRefreshDelay = store.integerForKey(refreshDelayKey);
    const int delayEntry = refreshDelays.indexOf(oldRefreshDelay);
    ui->refreshDelayBox->setCurrentIndex(delayEntry >= 0 ? delayEntry : defaultRefreshDelayEntry);

    // A number that no position stores shows the position whose pace the scans take.
    ui->speedOfRefreshSlider->setValue(ScanSpeed::positionOf(store.integerForKey(serversByThreadKey)));
    showPace(ui->speedOfRefreshSlider->value());
    ui->triesBox->setValue(store.integerForKey(scanTriesKey));
}

void PreferenceController::showPace(int position)
{
    const int pace = ScanSpeed::paces.at(static_cast<std::size_t>(position - 1));
    ui->paceLabel->setText(QStringLiteral("%1 queries a second").arg(QLocale().toString(pace)));
}

void PreferenceController::loadMasterServers()
{
    const Preferences& store = Preferences::standard();
    const auto fields = masterServerFields(*ui);
    for (int master = 0; master < masterCount; ++master) {
        fields[master].host->setText(store.stringForKey(hostKey(master)));
        fields[master].port->setText(store.stringForKey(portKey(master)));
        fields[master].protocol->setText(store.stringForKey(protocolKey(master)));
    }
}

void PreferenceController::validatePreference()
{
    Preferences& store = Preferences::standard();
    const bool autoRefresh = ui->autoRefreshButton->isChecked();
    bool stored = store.setObject(ui->refreshWhenSelectedButton->isChecked(), refreshWhenSelectedKey);
    stored &= store.setObject(autoRefresh, autoRefreshKey);
    if (ui->latencyBox->currentIndex() >= 0)
        stored &= store.setObject(ui->latencyBox->currentText(), latencyKey);
    stored &= storeMasterServers();
    stored &= mastersPage->store();
    stored &= storeSelectedNumber(*ui->timeoutBox, timeoutKey, [](int milliseconds) {
        const int timeout = milliseconds * 1000;
        return timeout == 1000 ? longestTimeout : timeout;
    });
    // The refresh delay box always has an entry selected: loading selects one
    // whatever period is stored, and the user can only choose another.
    const int refreshDelay = TextValue::integerValue(ui->refreshDelayBox->currentText()) * 60;
    stored &= store.setObject(refreshDelay, refreshDelayKey);
    const auto speedPosition = static_cast<std::size_t>(ui->speedOfRefreshSlider->value() - 1);
    stored &= store.setObject(ScanSpeed::storedValues.at(speedPosition), serversByThreadKey);
    stored &= store.setObject(ui->triesBox->value(), scanTriesKey);
    stored &= historyPreferences->store();
    // Unstored, the settings in effect stay as they were: the panel stays open on the
    // user's choices, so that OK can try again.
    if (!stored) {
        Alerts::current().reportUnstored(QStringLiteral("Preferences"), QStringLiteral("The preferences"));
        return;
    }

    if (autoRefresh != oldRefreshState || refreshDelay != oldRefreshDelay) {
        oldRefreshState = autoRefresh;
        oldRefreshDelay = refreshDelay;
        emit XRRefreshChanged(autoRefresh, refreshDelay);
    }
    close();
}

// Host then port of each master server, then the four protocols. False when a write
// failed.
bool PreferenceController::storeMasterServers() const
{
    Preferences& store = Preferences::standard();
    const auto fields = masterServerFields(*ui);
    bool stored = true;
    for (int master = 0; master < masterCount; ++master) {
        stored &= store.setObject(fields[master].host->text(), hostKey(master));
        stored &= store.setObject(fields[master].port->text(), portKey(master));
    }
    for (int master = 0; master < masterCount; ++master)
        stored &= store.setObject(fields[master].protocol->text(), protocolKey(master));
    return stored;
}

void PreferenceController::cancelPreference()
{
    close();
}

void PreferenceController::restoreLatency()
{
    selectEntry(*ui->latencyBox, registeredText(latencyKey));
}

void PreferenceController::restoreTimeout()
{
    selectEntry(*ui->timeoutBox, QStringLiteral("750 ms"));
}

void PreferenceController::restoreCoDMS()
{
    restoreMasterServer(CoDMaster, registeredText(protocolKey(CoDMaster)));
}

void PreferenceController::restoreUOMS()
{
    restoreMasterServer(UOMaster, registeredText(protocolKey(UOMaster)));
}

void PreferenceController::restoreCoD2MS(int selectedEntry)
{
    restoreMasterServer(CoD2Master, cod2Protocols.value(selectedEntry));
}

void PreferenceController::restoreCoD4MS(int selectedEntry)
{
    restoreMasterServer(CoD4Master, cod4Protocols.value(selectedEntry));
}

// The factory host and port, the registered defaults; an empty protocol leaves the
// protocol field as it is.
void PreferenceController::restoreMasterServer(MasterServer master, const QString& protocol)
{
    const MasterServerFields fields = masterServerFields(*ui)[master];
    fields.host->setText(registeredText(hostKey(master)));
    fields.port->setText(registeredText(portKey(master)));
    if (!protocol.isEmpty())
        fields.protocol->setText(protocol);
}
