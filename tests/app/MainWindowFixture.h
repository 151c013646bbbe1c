#pragma once

#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/RecordingNotifications.h"
#include "support/TableCells.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

// A fresh preference file, alert and notification recorders and desktop for every
// test, and the real main window and its controller, shown offscreen, over
// favourites that a test stores first and whose state it then sets directly on the
// records.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void start();
    void startWith(const QList<CodServerPtr>& favourites);

    static CodServerPtr server(const QString& name, const QString& ip, const QString& pass = {});
    static void storeFavourites(const QList<CodServerPtr>& servers);
    static QByteArray storedFavourites();
    // The addresses of the favourites in the store, in order.
    static QStringList storedAddresses();

    template <class Widget>
    Widget& control(const char* name) const
    {
        Widget* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(QStringLiteral("no control %1").arg(QLatin1String(name)).toStdString());
        return *widget;
    }

    QTableView& favourites() const { return control<QTableView>("tableViewServers"); }
    CodServerPtr favourite(int row) const { return controller->myServers().at(row); }
    QStringList favouriteAddresses() const;
    // The selected favourites row, or -1.
    int selectedRow() const;
    // Selects the favourite at the row, or none with -1, and waits for the refresh
    // that may follow to be told.
    void select(int row) const;
    // Redraws the window after a test changed records behind its back.
    void redraw() const { controller->updateUI(); }
    // Clicks the button and waits for the exchange it may start on the window's
    // worker to be told.
    void clickButton(const char* name) const;
    // The user's keys on the window: a menu command's shortcut, or typing into the
    // control with the focus; then waits as clickButton does.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // Copies the text and pastes it into the favourites with the keyboard.
    void pasteText(const QString& text) const;
    // Drops text dragged from another program between rows, above `row` (-1: at the
    // end); whether the favourites took it.
    bool dropText(const QString& text, int row = -1) const;
    // Runs the window's events until the refresh of all favourites ended.
    void waitForTheRunToEnd() const;
    // Runs the window's events until the single refreshes and map listings the window
    // asked for are over and told.
    void waitForWindowExchanges() const;
    // What the status bar tells of the last action.
    QString outcome() const;
    // The run ends without the quit prompt, as a crash or a kill ends it.
    void endRunWithoutPrompt();
    bool isEnabled(const char* buttonName) const { return control<QPushButton>(buttonName).isEnabled(); }

    RecordingAlerts* alerts = nullptr;
    RecordingNotifications* notifications = nullptr;
    RecordingDesktop* desktop = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
};

// A loopback address where no game server, nor UT2004 query port, listens: a
// refresh there fails at once. Selecting a favourite the user administers refreshes
// it, so tests that select one put it here.
inline const QString nobodyAnswers = QStringLiteral("127.0.0.1:1");
