// The controller's side of the finders: what they ask of it through FinderHost, and
// opening them.
#include "app/Zorvel.h"

#include "app/MainWindow.h"
#include "app/PasswordWindow.h"
#include "model/GameCatalogue.h"
#include "net/LanDiscovery.h"
#include "platform/CountText.h"
#include "platform/Preferences.h"

#include "ui_PasswordWindow.h"

void Zorvel::connectFinders()
{
    connect(this, &Zorvel::masterScanStarted, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterScanStopAsked, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterListsChanged, &finders, &Finders::handMasterListsToFinders);
}

void Zorvel::showFindServerWindow()
{
    finders.showFindServerWindow();
}

void Zorvel::showFindPlayerOrClanPanel()
{
    finders.showFindPlayerOrClanPanel();
}

namespace {

// Every game's default ports, each once, in the catalogue's order.
QList<quint16> lanPorts()
{
    QList<quint16> ports;
    for (const GameDescription& game : GameCatalogue::standard().games()) {
        for (const quint16 port : game.defaultPorts) {
            if (!ports.contains(port))
                ports.append(port);
        }
    }
    return ports;
}

}  // namespace

// The network is asked on the window's worker; each server that answered is then
// queried for its status there, and those that answer that too go to the finder.
void Zorvel::findLanServers()
{
    const Preferences& store = Preferences::standard();
    const QString broadcastAddress = store.stringForKey(QStringLiteral("LAN Broadcast Address"));
    const int timeout = store.integerForKey(QStringLiteral("Timeout"));
    showOutcome(QStringLiteral("Looking for servers on this network"));
    windowExchanges.queue([this, broadcastAddress, timeout]() -> WorkerQueue::Then {
        QList<CodServerPtr> answered;
        for (const QString& address : LanDiscovery::findServers(broadcastAddress, lanPorts(), timeout)) {
            const CodServerPtr server = CodServer::create();
            server->setServerIp(address);
            server->serverRefresh();
            if (server->commError() == CodServer::Answered)
                answered.append(server);
        }
        return [this, answered] {
            const QString found = CountText::of(answered.size(), QStringLiteral("server"), QStringLiteral("servers"));
            showOutcome(QStringLiteral("Found %1 on this network").arg(found));
            finders.showLocalNetwork(answered);
        };
    });
}

FinderHost::MasterLists Zorvel::masterLists() const
{
    MasterLists lists;
    for (int tag = 0; tag < int(masterScans.size()); ++tag)
        lists.append(masterServers(tag));
    return lists;
}

void Zorvel::scanServers(int tag)
{
    startMasterScan(*masterScans.at(size_t(tag)));
}

void Zorvel::scanServersStop(int tag)
{
    stopMasterScan(*masterScans.at(size_t(tag)));
}

void Zorvel::joinServer(const CodServerPtr& server, QWidget& window, bool withPassword)
{
    if (withPassword || wantsJoinPassword(*server))
        askJoinPassword(server, window);
    else
        joinServerWithPass(*server, QString());
}

// A sheet of the finder's own, modal for it alone. It offers the password last typed
// into the main window's sheet, and leaves the one typed here there for the next.
void Zorvel::askJoinPassword(const CodServerPtr& server, QWidget& window)
{
    auto* sheet = new PasswordWindow(&window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QLineEdit& field = *sheet->controls().pPassword;
    QLineEdit* sharedField = mainWindow ? mainWindow->passwordWindow().controls().pPassword : nullptr;
    if (sharedField)
        field.setText(sharedField->text());
    connect(sheet->controls().okButton, &QPushButton::clicked, this, [this, sheet, server, sharedField] {
        const QString password = sheet->controls().pPassword->text();
        if (sharedField)
            sharedField->setText(password);
        sheet->accept();
        joinServerWithPass(*server, password);
    });
    connect(sheet->controls().cancelButton, &QPushButton::clicked, sheet, &QDialog::reject);
    sheet->openForPassword();
}
