// The master scans of the controller: each game's scan is a MasterScan; the
// controller starts and stops them, shows their progress in the main window, and
// tells the finders when the lists changed.
#include "app/Zorvel.h"

#include "app/Alerts.h"
#include "app/MainWindow.h"
#include "app/Preferences.h"

#include "ui_MainWindow.h"

QList<CodServerPtr> Zorvel::activeCodServers() const { return codScan.servers(); }
QList<CodServerPtr> Zorvel::activeUOServers() const { return uoScan.servers(); }
QList<CodServerPtr> Zorvel::activeCod2Servers() const { return cod2Scan.servers(); }
QList<CodServerPtr> Zorvel::activeCod4Servers() const { return cod4Scan.servers(); }

void Zorvel::scanCodServers() { startMasterScan(codScan); }
void Zorvel::scanUOServers() { startMasterScan(uoScan); }
void Zorvel::scanCod2Servers() { startMasterScan(cod2Scan); }
void Zorvel::scanCod4Servers() { startMasterScan(cod4Scan); }
void Zorvel::scanCodServersStop() { codScan.requestStop(); }
void Zorvel::scanUOServersStop() { uoScan.requestStop(); }
void Zorvel::scanCod2ServersStop() { cod2Scan.requestStop(); }
void Zorvel::scanCod4ServersStop() { cod4Scan.requestStop(); }

bool Zorvel::codRefreshState() const { return codScan.isRefreshing(); }
bool Zorvel::uoRefreshState() const { return uoScan.isRefreshing(); }
bool Zorvel::cod2RefreshState() const { return cod2Scan.isRefreshing(); }
bool Zorvel::cod4RefreshState() const { return cod4Scan.isRefreshing(); }

void Zorvel::stopMasterScans()
{
    for (MasterScan* scan : {&codScan, &uoScan, &cod2Scan, &cod4Scan})
        scan->stopAndJoin();
}

// A second start of a running scan is refused: its threads would append to the
// emptied list and count themselves out of the new scan's threads.
void Zorvel::startMasterScan(MasterScan& scan)
{
    if (scan.isRefreshing())
        return;
    scan.begin();
    startRefresh(scan);
    emit masterScanStarted();
}

// Runs on the UI thread, which waits for the master's list.
void Zorvel::startRefresh(MasterScan& scan)
{
    const MasterScan::ServerList fetched = scan.fetchServerList();
    if (fetched.outcome == MasterScan::ServerList::NoMaster) {
        showScanLabel(scan.labelName(), QStringLiteral("No response"));
        scan.setRefreshing(false);
        return;
    }
    if (fetched.outcome == MasterScan::ServerList::NoAnswer) {
        showScanLabel(scan.labelName(), QStringLiteral("Try again..."));
        Alerts::current().runAlert(QStringLiteral("Communication error !"),
                                   QStringLiteral("Please wait few seconds to try again and decrease the speed of "
                                                  "refresh in your preference panel and/or increase the timeout."),
                                   QStringLiteral("OK"));
        scan.setRefreshing(false);
        return;
    }
    const int listed = static_cast<int>(fetched.addresses.size());
    showScanLabel(scan.labelName(), QString::asprintf("%i servers to scan...", listed));
    showServersRefreshIndicator(true);
    const int batchSize = Preferences::standard().integerForKey(QStringLiteral("Number of servers by thread"));
    scan.startThreads(MasterScan::batchesOf(fetched.addresses, batchSize), masterScanReports(scan));
}

// The threads' reports reach the controller on the UI thread, queued without
// waiting; the scans join their threads before the controller goes.
MasterScan::Reports Zorvel::masterScanReports(const MasterScan& scan)
{
    const QString labelName = scan.labelName();
    return {
        [this] { queueMasterListsHandOver(); },
        [this, labelName](int kept) {
            QMetaObject::invokeMethod(
                this, [this, labelName, kept] { masterScanDidEnd(labelName, kept); }, Qt::QueuedConnection);
        },
    };
}

// Hand-overs asked for while one waits in the queue fold into it: with hundreds of
// threads they come faster than the finders can take copies and search them.
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
    emit masterListsChanged();
}

// The indicator turns while any scan runs, not only until the first of several ends.
void Zorvel::masterScanDidEnd(const QString& labelName, int kept)
{
    showScanLabel(labelName, QString::asprintf("%i servers in database", kept));
    if (!anyMasterIsRefreshing())
        showServersRefreshIndicator(false);
}

void Zorvel::showScanLabel(const QString& labelName, const QString& text)
{
    if (!mainWindow)
        return;
    if (QLabel* label = mainWindow->findChild<QLabel*>(labelName))
        label->setText(text);
}

void Zorvel::showServersRefreshIndicator(bool running)
{
    if (mainWindow)
        mainWindow->controls().serversRefreshIndicator->setVisible(running);
}
