// The master scans of the controller: each game's scan is a MasterScan on the
// controller's scan engine; the controller starts and stops them, shows their
// progress in the main window, and tells the finders when the lists changed.
#include "app/Zorvel.h"

#include "app/MainWindow.h"
#include "finders/MasterGames.h"
#include "platform/Alerts.h"

#include "ui_MainWindow.h"

#include <algorithm>

QList<CodServerPtr> Zorvel::activeCodServers() const { return codScan.servers(); }
QList<CodServerPtr> Zorvel::activeUOServers() const { return uoScan.servers(); }
QList<CodServerPtr> Zorvel::activeCod2Servers() const { return cod2Scan.servers(); }
QList<CodServerPtr> Zorvel::activeCod4Servers() const { return cod4Scan.servers(); }

void Zorvel::scanCodServers() { startMasterScan(codScan); }
void Zorvel::scanUOServers() { startMasterScan(uoScan); }
void Zorvel::scanCod2Servers() { startMasterScan(cod2Scan); }
void Zorvel::scanCod4Servers() { startMasterScan(cod4Scan); }
void Zorvel::scanCodServersStop() { stopMasterScan(codScan); }
void Zorvel::scanUOServersStop() { stopMasterScan(uoScan); }
void Zorvel::scanCod2ServersStop() { stopMasterScan(cod2Scan); }
void Zorvel::scanCod4ServersStop() { stopMasterScan(cod4Scan); }

bool Zorvel::codRefreshState() const { return codScan.isRefreshing(); }
bool Zorvel::uoRefreshState() const { return uoScan.isRefreshing(); }
bool Zorvel::cod2RefreshState() const { return cod2Scan.isRefreshing(); }
bool Zorvel::cod4RefreshState() const { return cod4Scan.isRefreshing(); }

ScanProgress Zorvel::scanProgress(int tag) const
{
    const MasterScan& scan = *masterScans()[size_t(tag)];
    return {scan.isRefreshing(), scan.stopWasRequested(), scan.progress(), scan.masterOutcomes()};
}

std::array<const MasterScan*, MasterGames::count> Zorvel::masterScans() const
{
    return {&codScan, &uoScan, &cod2Scan, &cod4Scan};
}

std::array<MasterScan*, MasterGames::count> Zorvel::masterScans()
{
    return {&codScan, &uoScan, &cod2Scan, &cod4Scan};
}

int Zorvel::tagOf(const MasterScan& scan) const
{
    const auto scans = masterScans();
    return int(std::find(scans.cbegin(), scans.cend(), &scan) - scans.cbegin());
}

void Zorvel::stopMasterScans()
{
    for (MasterScan* scan : masterScans())
        scan->stopAndJoin();
}

// A second start of a running scan is refused: its answers would go into the
// emptied list of the new one.
void Zorvel::startMasterScan(MasterScan& scan)
{
    if (scan.isRefreshing())
        return;
    scan.begin();
    m_lastFetchedGame = tagOf(scan);
    startRefresh(scan);
    showScansProgress();
    emit masterScanStarted();
}

// The windows tell at once that the scan was stopped; it ends within one time-out.
void Zorvel::stopMasterScan(MasterScan& scan)
{
    scan.requestStop();
    showScansProgress();
    emit masterScanStopAsked();
}

// The master's address, its list and the servers' answers come from other threads;
// the window is never held up waiting for them.
void Zorvel::startRefresh(MasterScan& scan)
{
    showServersRefreshIndicator(true);
    scan.start(masterScanReports(scan));
}

// The scan's reports reach the controller on the UI thread, queued without waiting;
// the scans are dropped from the engine before the controller goes. The counts are
// shown with the hand-over they ask for, so both fold alike.
MasterScan::Reports Zorvel::masterScanReports(const MasterScan& scan)
{
    const int tag = tagOf(scan);
    return {
        [this](const ScanCounts&) { queueMasterListsHandOver(); },
        [this, tag](int kept) {
            QMetaObject::invokeMethod(this, [this, tag, kept] { masterScanDidEnd(tag, kept); }, Qt::QueuedConnection);
        },
        [this, tag] {
            QMetaObject::invokeMethod(this, [this, tag] { masterSentNoList(tag); }, Qt::QueuedConnection);
        },
        [this, tag] {
            QMetaObject::invokeMethod(this, [this, tag] { masterIsUnknown(tag); }, Qt::QueuedConnection);
        },
    };
}

// Hand-overs asked for while one waits in the queue fold into it: scans of several
// games may report while the finders still copy and search the lists.
void Zorvel::queueMasterListsHandOver()
{
    if (!masterListsHandOverQueued.exchange(true))
        QMetaObject::invokeMethod(this, &Zorvel::newServerFromMaster, Qt::QueuedConnection);
}

// The flag drops before the lists are copied, so a server appended from now on
// queues a hand-over of its own.
void Zorvel::newServerFromMaster()
{
    masterListsHandOverQueued = false;
    showScansProgress();
    emit masterListsChanged();
}

// A scan that ended since its report was queued shows its end instead.
void Zorvel::showScansProgress()
{
    for (int tag = 0; tag < MasterGames::count; ++tag) {
        const ScanProgress progress = scanProgress(tag);
        if (progress.running)
            showScanText(tag, progress.text(MasterGames::name(tag)));
    }
}

void Zorvel::masterScanDidEnd(int tag, int kept)
{
    showScanEnd(tag, ScanProgress::serversInDatabase(kept, masterScans()[size_t(tag)]->stopWasRequested()));
}

void Zorvel::masterIsUnknown(int tag)
{
    showScanEnd(tag, QStringLiteral("No response"));
}

void Zorvel::masterSentNoList(int tag)
{
    showScanEnd(tag, QStringLiteral("Try again..."));
    Alerts::current().runAlert(QStringLiteral("Communication error !"),
                               QStringLiteral("Please wait few seconds to try again and decrease the speed of "
                                              "refresh in your preference panel and/or increase the timeout."),
                               QStringLiteral("OK"));
}

// The indicator turns while any scan runs, not only until the first of several ends.
// Every end, a failed fetch's included, reaches the open finders with the lists, so
// that they leave their fetching state.
void Zorvel::showScanEnd(int tag, const QString& text)
{
    showScanLabel(tag, text);
    if (!anyMasterIsRefreshing())
        showServersRefreshIndicator(false);
    queueMasterListsHandOver();
}

void Zorvel::showScanLabel(int tag, const QString& text)
{
    showScanText(tag, MasterGames::name(tag) + QStringLiteral(": ") + text);
}

void Zorvel::showScanText(int tag, const QString& text)
{
    if (!mainWindow)
        return;
    if (QLabel* label = mainWindow->findChild<QLabel*>(masterScans()[size_t(tag)]->labelName()))
        label->setText(text);
}

void Zorvel::showServersRefreshIndicator(bool running)
{
    if (mainWindow)
        mainWindow->controls().serversRefreshIndicator->setVisible(running);
}
