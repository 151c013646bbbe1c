#include "MainWindowFixture.h"

#include "app/Preferences.h"
#include "model/ServerArchive.h"
#include "support/TestPreferences.h"

#include <QSettings>

void MainWindowFixture::SetUp()
{
    TestPreferences::installFresh();
    alerts = &RecordingAlerts::install();
    desktop = &RecordingDesktop::install();
}

void MainWindowFixture::start()
{
    controller = std::make_unique<Zorvel>();
    window = std::make_unique<MainWindow>(*controller);
    window->show();
}

void MainWindowFixture::startWith(const QList<CodServerPtr>& favourites)
{
    storeFavourites(favourites);
    start();
}

CodServerPtr MainWindowFixture::server(const QString& name, const QString& ip, const QString& pass)
{
    CodServerPtr record = CodServer::create();
    record->setServerName(name);
    record->setServerIp(ip);
    record->setServerPass(pass);
    return record;
}

void MainWindowFixture::storeFavourites(const QList<CodServerPtr>& servers)
{
    Preferences::standard().setObject(ServerArchive::archiveServerList(servers), QStringLiteral("myServers"));
}

QByteArray MainWindowFixture::storedFavourites()
{
    return QSettings(Preferences::standard().filePath(), QSettings::IniFormat).value("myServers").toByteArray();
}

QStringList MainWindowFixture::favouriteAddresses() const
{
    QStringList addresses;
    for (const CodServerPtr& server : controller->myServers())
        addresses.append(server->serverIp());
    return addresses;
}

int MainWindowFixture::selectedRow() const
{
    const QModelIndexList rows = favourites().selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindowFixture::select(int row) const
{
    if (row < 0)
        favourites().clearSelection();
    else
        favourites().selectRow(row);
}
