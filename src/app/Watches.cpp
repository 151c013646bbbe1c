#include "app/Watches.h"

#include "app/FavouritesRefresh.h"
#include "app/MasterScan.h"
#include "app/Zorvel.h"
#include "platform/Alerts.h"
#include "platform/DesktopNotifications.h"
#include "watch/JoinCountdown.h"
#include "watch/WatchRuleStore.h"
#include "watch/WatchWindow.h"

#include <algorithm>

namespace {

const QString watchTitle = QStringLiteral("Watch");

void addSnapshots(const QList<CodServerPtr>& servers, QList<ServerSnapshot>& snapshots,
                  QHash<QString, CodServerPtr>& records)
{
    for (const CodServerPtr& server : servers) {
        snapshots.append(ServerSnapshot::of(*server));
        if (!records.contains(snapshots.last().address))
            records.insert(snapshots.last().address, server);
    }
}

}  // namespace

Watches::Watches(Zorvel& controller, ScanEngine& engine, Join join)
    : controller(controller)
    , engine(engine)
    , join(std::move(join))
{
    nextQuery.setSingleShot(true);
    connect(&nextQuery, &QTimer::timeout, this, &Watches::askDueServers);
    evaluation.setRules(WatchRuleStore::stored());
    reschedule();
}

Watches::~Watches()
{
    stopQueries.request_stop();
    delete countdown.data();
}

JoinCountdown* Watches::joinCountdown() const
{
    return countdown.data();
}

void Watches::showWatchWindow()
{
    if (!window) {
        window = std::make_unique<WatchWindow>();
        window->showRules(evaluation.rules());
        connect(window.get(), &WatchWindow::rulesEdited, this, &Watches::rulesEdited);
    }
    window->setServerChoices(favouriteAddresses());
    window->showPlayerAlert(controller.armedPlayerAlert());
    window->show();
    window->raise();
    window->activateWindow();
}

void Watches::rulesEdited(const QList<WatchRule>& rules)
{
    WatchRuleStore::store(rules);
    evaluation.setRules(rules);
    reschedule();
    serversChanged();
}

void Watches::playerAlertChanged()
{
    if (window)
        window->showPlayerAlert(controller.armedPlayerAlert());
}

void Watches::favouriteRefreshed(const CodServer& server)
{
    schedule.askedElsewhere(server.serverIp(), WatchSchedule::Clock::now());
    reschedule();
}

void Watches::serversChanged()
{
    QHash<QString, CodServerPtr> records;
    const WatchedServers servers = currentServers(records);
    const QList<WatchRule> rules = evaluation.rules();
    // Each firing's rule is taken first: an alert waits for the user, who may edit
    // the rules meanwhile.
    for (const WatchFiring& firing : evaluation.evaluate(servers))
        fire(rules.at(firing.rule), firing, records.value(firing.server.address));
}

WatchedServers Watches::currentServers(QHash<QString, CodServerPtr>& records) const
{
    WatchedServers servers;
    addSnapshots(controller.myServers(), servers.favourites, records);
    for (const WatchRule& rule : evaluation.rules()) {
        if (rule.effectiveScope() != WatchRule::Scope::OneServer || servers.watched.contains(rule.server))
            continue;
        const CodServerPtr record = records.value(rule.server, ownRecords.value(rule.server));
        if (!record)
            continue;
        servers.watched.insert(rule.server, ServerSnapshot::of(*record));
        records.insert(rule.server, record);
    }
    // Looking at every scanned server is kept for the rules that need it.
    if (anyRuleOver(WatchRule::Scope::AnyScannedServer)) {
        const FinderHost::MasterLists lists = controller.masterLists();
        for (const QList<CodServerPtr>& list : lists)
            addSnapshots(list, servers.scanned, records);
        servers.scanUnderWay = controller.anyMasterIsRefreshing();
    }
    return servers;
}

bool Watches::anyRuleOver(WatchRule::Scope scope) const
{
    const QList<WatchRule>& rules = evaluation.rules();
    return std::any_of(rules.cbegin(), rules.cend(),
                       [scope](const WatchRule& rule) { return !rule.paused && rule.effectiveScope() == scope; });
}

QStringList Watches::favouriteAddresses() const
{
    QStringList addresses;
    for (const CodServerPtr& favourite : controller.myServers())
        addresses.append(favourite->serverIp());
    return addresses;
}

CodServerPtr Watches::watchedRecord(const QString& address)
{
    for (const CodServerPtr& favourite : controller.myServers()) {
        if (favourite->serverIp() == address)
            return favourite;
    }
    CodServerPtr& own = ownRecords[address];
    if (!own) {
        own = CodServer::create();
        own->setServerIp(address);
    }
    return own;
}

void Watches::reschedule()
{
    const std::optional<WatchSchedule::TimePoint> due = schedule.nextDue(evaluation.rules(), favouriteAddresses());
    if (!due) {
        nextQuery.stop();
        return;
    }
    const WatchSchedule::TimePoint now = WatchSchedule::Clock::now();
    nextQuery.start(*due <= now ? std::chrono::milliseconds::zero()
                                : std::chrono::ceil<std::chrono::milliseconds>(*due - now));
}

// All the servers due go out in one query; one still being asked by the watch waits
// for its next turn.
void Watches::askDueServers()
{
    QStringList due = schedule.takeDue(evaluation.rules(), favouriteAddresses(), WatchSchedule::Clock::now());
    due.removeIf([this](const QString& address) { return asking.contains(address); });
    if (!due.isEmpty())
        queueQueries(due);
    reschedule();
}

// The refresh leaves a server that another refresh holds to that one, which feeds
// the rules as well. Each answer, and each silence, is looked at as it comes; each
// answer goes into the history.
void Watches::queueQueries(const QStringList& addresses)
{
    QList<CodServerPtr> records;
    for (const QString& address : addresses) {
        asking.insert(address);
        records.append(watchedRecord(address));
    }
    queries.queue([this, addresses, records, stop = stopQueries.get_token()]() -> WorkerQueue::Then {
        FavouritesRefresh refresh(engine, MasterScan::settingsFor({}));
        refresh.run(records, stop, [this](const CodServerPtr& server, const QString&) {
            if (server->commError() == CodServer::Answered)
                controller.history().record(ServerAnswer::of(*server, ServerAnswer::Source::Watch));
            QMetaObject::invokeMethod(this, [this] { controller.reloadServerTable(); }, Qt::QueuedConnection);
        });
        return [this, addresses] {
            for (const QString& address : addresses)
                asking.remove(address);
            controller.reloadServerTable();
        };
    });
}

void Watches::fire(const WatchRule& rule, const WatchFiring& firing, const CodServerPtr& server)
{
    if (rule.notify) {
        const QPointer<Watches> watches(this);
        DesktopNotifications::current().notifyOffering(watchTitle, firing.message, QStringLiteral("Join"),
                                                       [watches, server] {
                                                           if (watches && server)
                                                               watches->join(server);
                                                       });
    }
    if (rule.join && server) {
        if (rule.joinWithoutAsking)
            join(server);
        else
            joinAfterCountdown(server);
    }
    if (rule.alert)
        Alerts::current().notify(watchTitle, firing.message, QStringLiteral("OK"));
}

// One countdown at a time: a later firing's server takes the place of the one
// counted down.
void Watches::joinAfterCountdown(const CodServerPtr& server)
{
    delete countdown.data();
    countdown = new JoinCountdown(server->shownName(), JoinCountdown::defaultSeconds);
    countdown->setAttribute(Qt::WA_DeleteOnClose);
    connect(countdown, &JoinCountdown::joinNow, this, [this, server] { join(server); });
    countdown->show();
}
