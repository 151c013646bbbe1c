#include "MainWindowFixture.h"

#include <QDockWidget>
#include <QPushButton>

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

void MainWindowFixture::clickButton(const char* name) const
{
    control<QPushButton>(name).click();
}

bool MainWindowFixture::isEnabled(const char* buttonName) const
{
    return control<QPushButton>(buttonName).isEnabled();
}

bool MainWindowFixture::drawerIsOpen() const
{
    return !control<QDockWidget>("rconDrawer").isHidden();
}

CodPlayerPtr player(const QString& name, const QString& score)
{
    return std::make_shared<const CodPlayer>(CodPlayer::Fields{.name = name, .score = score});
}
