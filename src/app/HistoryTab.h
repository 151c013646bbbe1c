#pragma once

#include "history/ServerHistory.h"

#include <QString>
#include <QWidget>

class BusyHoursGrid;
class HistoryStore;
class PlayersChart;
class QComboBox;
class QLabel;
class QStackedWidget;

// The Information window's History tab: one server's players over the last 24
// hours, 7 days or 30 days with its map changes, and its busy hours over the same
// period. It asks the history, which answers from its own thread, and draws the
// answer when it comes; a server the history never recorded is said to have none.
class HistoryTab : public QWidget {
    Q_OBJECT
public:
    HistoryTab(HistoryStore& history, QWidget* parent = nullptr);

    // Shows the history of the server at the address (as the favourites write it).
    void showServer(const QString& address);

private:
    struct Period {
        QString name;
        qint64 seconds;
        // The players are the mean of each stretch this long.
        qint64 stretchSeconds;
        QString timeFormat;
    };
    static const QList<Period>& periods();

    void ask();
    void show(const ServerHistory& history, const Period& period, qint64 since, qint64 until);

    HistoryStore& history;
    QString address;
    // Only the answer to the latest question is drawn.
    int questions = 0;
    QComboBox* periodChoice;
    QStackedWidget* pages;
    QLabel* nothing;
    PlayersChart* chart;
    BusyHoursGrid* busyHours;
};
