// The operations of the application controller that edit the favourites: the
// new/modify sheet, adding and deleting, the clipboard and the end of a drop.
#include "app/Zorvel.h"

#include "app/AddressValidator.h"
#include "app/MainWindow.h"
#include "app/ServerPasteboard.h"
#include "platform/Alerts.h"

#include "ui_NewModifyWindow.h"

#include <QClipboard>
#include <QGuiApplication>

void Zorvel::newServer()
{
    if (mainWindow)
        mainWindow->newModifyWindow().openWithMode(NewModifyWindow::Mode::New, {}, {}, {});
}

void Zorvel::modifyServer()
{
    const CodServerPtr selected = m_myServers.serverAt(selectedFavouriteRow());
    if (!selected) {
        Alerts::current().beep();
        return;
    }
    mainWindow->newModifyWindow().openWithMode(NewModifyWindow::Mode::Modify, selected->serverIp(),
                                               selected->serverName(), selected->serverPass());
}

void Zorvel::okNewModifyWindow()
{
    NewModifyWindow& sheet = mainWindow->newModifyWindow();
    const QString address = sheet.controls().nmIpAndPort->text();
    // A favourite stored under older address rules keeps its address through a change
    // of its name or password: only an address the user changed is checked.
    const CodServerPtr modified = m_myServers.serverAt(selectedFavouriteRow());
    const bool addressKept =
        sheet.mode() == NewModifyWindow::Mode::Modify && modified && modified->serverIp() == address;
    const std::optional<QString> problem = addressKept ? std::nullopt : AddressValidator::problemWith(address);
    if (problem)
        sheet.controls().nmErrorMessage->setText(*problem);
    else
        sheet.accept();
}

void Zorvel::cancelNewModifyWindow()
{
    mainWindow->newModifyWindow().reject();
}

void Zorvel::newModifySheetDidEnd(int returnCode, NewModifyWindow::Mode mode)
{
    if (returnCode != QDialog::Accepted)
        return;
    const Ui::NewModifyWindow& fields = mainWindow->newModifyWindow().controls();
    const QString ip = fields.nmIpAndPort->text();
    const QString name = fields.nmServerName->text();
    const QString pass = fields.nmRconPass->text();
    if (mode == NewModifyWindow::Mode::New) {
        const CodServerPtr server = FavouritesList::newFavourite(ip, name, pass);
        server->setServerNameTyped(!name.isEmpty());
        addFavourite(server);
    } else if (m_myServers.modifyServer(selectedFavouriteRow(), ip, name, pass)) {
        showOutcome(QStringLiteral("Modified %1").arg(m_myServers.serverAt(selectedFavouriteRow())->shownName()));
        favouritesDidChange();
    } else if (m_myServers.indexOfServerIp(ip) >= 0) {
        tellAddressTaken(ip);
    }
}

bool Zorvel::addServer(const QString& ip, const QString& name, const QString& pass)
{
    return addFavourite(FavouritesList::newFavourite(ip, name, pass));
}

bool Zorvel::addFavourite(const CodServerPtr& server)
{
    if (!m_myServers.appendServer(server)) {
        tellAddressTaken(server->serverIp());
        return false;
    }
    showOutcome(QStringLiteral("Added %1").arg(server->shownName()));
    favouritesDidChange();
    return true;
}

void Zorvel::tellAddressTaken(const QString& ip)
{
    showOutcome(QStringLiteral("%1 is a favourite already").arg(ip));
}

int Zorvel::indexOfServerIpInArray(const QString& ip, const QList<CodServerPtr>& array)
{
    return FavouritesList::indexOfServerIpInList(ip, array);
}

int Zorvel::indexOfServerInArray(const CodServer& server, const QList<CodServerPtr>& array)
{
    return FavouritesList::indexOfServerInList(server, array);
}

bool Zorvel::verifyIpStringForServer(const QString& ip)
{
    return AddressValidator::isValid(ip);
}

void Zorvel::deleteServer()
{
    const int row = selectedFavouriteRow();
    const CodServerPtr deleted = m_myServers.serverAt(row);
    if (!m_myServers.removeServer(row)) {
        Alerts::current().beep();
        return;
    }
    showOutcome(QStringLiteral("Deleted %1").arg(deleted->shownName()));
    m_currentServer = m_myServers.serverAt(row);
    if (!m_currentServer)
        mainWindow->selectFavouriteRow(-1);
    favouritesDidChange();
}

void Zorvel::copy()
{
    const CodServerPtr selected = m_myServers.serverAt(selectedFavouriteRow());
    if (!selected)
        return;
    QGuiApplication::clipboard()->setMimeData(ServerPasteboard::clipboardData(*selected));
    showOutcome(QStringLiteral("Copied %1").arg(selected->shownName()));
}

void Zorvel::cut()
{
    const CodServerPtr selected = m_myServers.serverAt(selectedFavouriteRow());
    copy();
    deleteServer();
    if (selected)
        showOutcome(QStringLiteral("Cut %1").arg(selected->shownName()));
}

void Zorvel::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const CodServerPtr server = data ? ServerPasteboard::favouriteFrom(*data) : nullptr;
    if (!server)
        return;
    const int selectedRow = selectedFavouriteRow();
    const bool added = selectedRow >= 0 ? m_myServers.insertServer(server, selectedRow + 1)
                                        : m_myServers.appendServer(server);
    if (!added) {
        tellAddressTaken(server->serverIp());
        return;
    }
    showOutcome(QStringLiteral("Pasted %1").arg(server->shownName()));
    favouritesDidChange();
}

void Zorvel::deleteSelection()
{
    deleteServer();
}

void Zorvel::favouritesWereDropped()
{
    if (!mainWindow)
        return;
    mainWindow->reloadTables();
    const int currentRow = m_currentServer ? m_myServers.indexOfServer(*m_currentServer) : -1;
    if (currentRow >= 0)
        mainWindow->selectFavouriteRow(currentRow);
    favouritesDidChange();
}

void Zorvel::favouritesDidChange()
{
    m_listOfServersModified = true;
    keepRecoveryCopy();
    updateUI();
}
