#pragma once

#include "AppTest.h"

#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "support/TableCells.h"

#include <QTableView>

#include <memory>

// The real main window and its controller, shown offscreen, over favourites that a
// test stores first and whose state it then sets directly on the records.
class MainWindowFixture : public AppTest {
protected:
    void start();
    void startWith(const QList<CodServerPtr>& favourites);

    template <class Widget>
    Widget& control(const char* name) const
    {
        Widget* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(std::string("no control ") + name);
        return *widget;
    }

    QTableView& favourites() const { return control<QTableView>("tableViewServers"); }
    QTableView& players() const { return control<QTableView>("tableViewPlayers"); }
    CodServerPtr favourite(int row) const { return controller->myServers().at(row); }
    QStringList favouriteAddresses() const;
    // The selected favourites row, or -1.
    int selectedRow() const;
    // Selects the favourite at the row, or none with -1.
    void select(int row) const;
    // Redraws the window after a test changed records behind its back.
    void redraw() const { controller->updateUI(); }
    void clickButton(const char* name) const;
    bool isEnabled(const char* buttonName) const;
    bool drawerIsOpen() const;


    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
};

// A loopback address where no game server, nor UT2004 query port, listens: a
// refresh there fails at once. Selecting a favourite the user administers refreshes
// it, so tests that select one put it here.
inline const QString nobodyAnswers = QStringLiteral("127.0.0.1:1");

// A player with a colour-free name and a score.
CodPlayerPtr player(const QString& name, const QString& score = QStringLiteral("0"));
