#include "MainWindowFixture.h"

#include "model/ServerArchive.h"
#include "platform/Preferences.h"
#include "support/TableCells.h"
#include "support/TestPreferences.h"

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTest>

void MainWindowFixture::SetUp()
{
    TestPreferences::installFresh();
    alerts = &RecordingAlerts::install();
    notifications = &RecordingNotifications::install();
    desktop = &RecordingDesktop::install();
}

void MainWindowFixture::start()
{
    controller = std::make_unique<Zorvel>();
    window = std::make_unique<MainWindow>(*controller);
    window->show();
    // The window comes to the front and takes the keyboard, and what start-up found
    // is told, as when the event loop starts.
    window->activateWindow();
    QCoreApplication::processEvents();
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

QStringList MainWindowFixture::storedAddresses()
{
    return addressesOf(ServerArchive::readableServerList(storedFavourites()).servers);
}

QStringList MainWindowFixture::favouriteAddresses() const
{
    return addressesOf(controller->myServers());
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
    waitForWindowExchanges();
}

void MainWindowFixture::clickButton(const char* name) const
{
    control<QPushButton>(name).click();
    waitForWindowExchanges();
}

void MainWindowFixture::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : window.get(), key, modifiers);
    waitForWindowExchanges();
}

void MainWindowFixture::pasteText(const QString& text) const
{
    QGuiApplication::clipboard()->setText(text);
    favourites().setFocus();
    press(Qt::Key_V, Qt::ControlModifier);
}

void MainWindowFixture::waitForTheRunToEnd() const
{
    while (controller->refreshAllInProgress())
        QTest::qWait(5);
}

void MainWindowFixture::waitForWindowExchanges() const
{
    while (!controller->windowExchangesIdle())
        QTest::qWait(5);
}

QString MainWindowFixture::outcome() const
{
    return control<QLabel>("actionOutcome").text();
}

bool MainWindowFixture::dropText(const QString& text, int row) const
{
    QAbstractItemModel& model = *favourites().model();
    QMimeData drag;
    drag.setText(text);
    return model.canDropMimeData(&drag, Qt::CopyAction, row, -1, {})
        && model.dropMimeData(&drag, Qt::CopyAction, row, -1, {});
}

void MainWindowFixture::endRunWithoutPrompt()
{
    window.reset();
    controller.reset();
}
