// The master scans of the controller: each game's scan is a MasterScan on the
// controller's scan engine; the controller starts and stops them, shows their
// progress in the main window, and tells the finders when the lists changed.
#include "app/Zorvel.h"

#include "app/MainWindow.h"
#include "platform/Alerts.h"

#include "ui_MainWindow.h"

#include <algorithm>

QList<CodServerPtr> Zorvel::masterServers(int tag) const
{
    return masterScans.at(size_t(tag))->servers();
}

bool Zorvel::masterIsRefreshing(int tag) const
{
    return masterScans.at(size_t(tag))->isRefreshing();
}

void Zorvel::setMasterIsRefreshing(int tag, bool refreshing)
{
    masterScans.at(size_t(tag))->setRefreshing(refreshing);
}

bool Zorvel::anyMasterIsRefreshing() const
{
    return std::any_of(masterScans.cbegin(), masterScans.cend(),
                       [](const std::unique_ptr<MasterScan>& scan) { return scan->isRefreshing(); });
}

ScanProgress Zorvel::scanProgress(int tag) const
{
    const MasterScan& scan = *masterScans.at(size_t(tag));
    return {scan.isRefreshing(), scan.stopWasRequested(), scan.progress(), scan.masterOutcomes()};
}

int Zorvel::tagOf(const MasterScan& scan) const
{
    return int(std::find_if(masterScans.cbegin(), masterScans.cend(),
                            [&scan](const std::unique_ptr<MasterScan>& each) { return each.get() == &scan; })
               - masterScans.cbegin());
}

void Zorvel::stopMasterScans()
{
    for (const std::unique_ptr<MasterScan>& scan : masterScans)
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
        [this](const CodServer& server) { m_history.record(ServerAnswer::of(server, ServerAnswer::Source::Scan)); },
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
    for (const std::unique_ptr<MasterScan>& scan : masterScans) {
        const ScanProgress progress = scanProgress(tagOf(*scan));
        if (progress.running)
            showScanText(tagOf(*scan), progress.text(scan->game().name));
    }
}

void Zorvel::masterScanDidEnd(int tag, int kept)
{
    showScanEnd(tag, ScanProgress::serversInDatabase(kept, masterScans.at(size_t(tag))->stopWasRequested()));
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
    showScanText(tag, masterScans.at(size_t(tag))->game().name + QStringLiteral(": ") + text);
}

void Zorvel::showScanText(int tag, const QString& text)
{
    if (!mainWindow)
        return;
    if (QLabel* label = mainWindow->findChild<QLabel*>(masterScans.at(size_t(tag))->labelName()))
        label->setText(text);
}

void Zorvel::showServersRefreshIndicator(bool running)
{
    if (mainWindow)
        mainWindow->controls().serversRefreshIndicator->setVisible(running);
}
