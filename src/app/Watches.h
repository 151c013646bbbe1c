#pragma once

#include "model/CodServer.h"
#include "platform/WorkerQueue.h"
#include "watch/WatchEvaluation.h"
#include "watch/WatchSchedule.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>
#include <stop_token>

class JoinCountdown;
class ScanEngine;
class WatchWindow;
class Zorvel;

// The watch rules of the run: kept in the settings, edited in the Watch window, fed
// by every refresh of the favourites, by the scans and by queries of their own. The
// servers a rule watches are asked for their status every interval it sets (see
// WatchSchedule): those due at once go out together on the scan engine, as a refresh
// of all favourites does, at its pace and within its limits per address; a watched
// server that is a favourite is refreshed in the favourites, one that is not is kept
// here. A server whose refresh is under way, here or elsewhere, is not asked again
// until it ends; one that stays silent counts as down. A rule that fires notifies the
// desktop (offering "Join"), shows an alert, and joins its server, after a 10-second
// countdown unless the rule says otherwise.
class Watches : public QObject {
    Q_OBJECT
public:
    // How a rule's server is joined: the controller's join, which asks for a join
    // password when the server needs one.
    using Join = std::function<void(const CodServerPtr&)>;

    Watches(Zorvel& controller, ScanEngine& engine, Join join);
    ~Watches() override;

    // Shows the Watch window, made at its first opening and kept to the end of the run.
    void showWatchWindow();
    // The servers changed (a refresh, a scan's hand-over): the rules are looked at.
    void serversChanged();
    // The favourite was refreshed from the window: it is not asked again before its
    // interval.
    void favouriteRefreshed(const CodServer& server);
    // The main window's player alert was armed, disarmed or given another name.
    void playerAlertChanged();

    QList<WatchRule> rules() const { return evaluation.rules(); }
    // The countdown of a join under way, or null.
    JoinCountdown* joinCountdown() const;
    // Whether no query of a watched server waits, runs, or has an outcome not yet told.
    bool queriesIdle() const { return queries.idle(); }

private:
    void rulesEdited(const QList<WatchRule>& rules);
    // What is known now of the servers the rules look at, with the records by address:
    // a favourite's before a record kept here, before a scanned one.
    WatchedServers currentServers(QHash<QString, CodServerPtr>& records) const;
    bool anyRuleOver(WatchRule::Scope scope) const;
    // The record that a rule's one server is refreshed in: the favourite, or one kept here.
    CodServerPtr watchedRecord(const QString& address);
    QStringList favouriteAddresses() const;
    // Sets the timer to the next query due.
    void reschedule();
    void askDueServers();
    // Asks the servers on the engine, on the worker; each answer or silence feeds the rules.
    void queueQueries(const QStringList& addresses);
    void fire(const WatchRule& rule, const WatchFiring& firing, const CodServerPtr& server);
    void joinAfterCountdown(const CodServerPtr& server);

    Zorvel& controller;
    ScanEngine& engine;
    const Join join;
    WatchEvaluation evaluation;
    WatchSchedule schedule;
    QTimer nextQuery;
    // The records of watched servers that are no favourites, by address.
    QHash<QString, CodServerPtr> ownRecords;
    std::unique_ptr<WatchWindow> window;
    QPointer<JoinCountdown> countdown;
    // The addresses whose queries are queued or under way.
    QSet<QString> asking;
    // Cuts the queries short when the run ends.
    std::stop_source stopQueries;
    // Last, so that it joins its worker before the members its jobs use go.
    WorkerQueue queries;
};
