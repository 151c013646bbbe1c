#pragma once

#include "history/ServerHistory.h"

#include <QString>

#include <functional>

class HistoryDatabase;
class HistoryStore;
class QObject;

// The questions the Information window asks about one server's past. They run on
// the history's thread, like every use of its file, and answer on the UI thread.
class HistoryQuestions {
public:
    // The server's history from the time on, its players as the mean of each stretch
    // of stretchSeconds; answered to the receiver while it lives.
    static void serverHistory(HistoryStore& store, const QString& address, qint64 since, qint64 stretchSeconds,
                              QObject* receiver, std::function<void(const ServerHistory&)> answer);
    // The same, on the history's thread.
    static ServerHistory serverHistory(HistoryDatabase& database, const QString& address, qint64 since,
                                       qint64 stretchSeconds);

private:
    static bool known(HistoryDatabase& database, const QString& address);
    static QList<ServerHistory::Point> players(HistoryDatabase& database, const QString& address, qint64 since,
                                               qint64 stretchSeconds);
    static QList<ServerHistory::MapChange> mapChanges(HistoryDatabase& database, const QString& address,
                                                      qint64 since);
    static ServerHistory::BusyHours busyHours(HistoryDatabase& database, const QString& address, qint64 since);
};
