// The status query of a server record: the refresh, the guard that keeps two refreshes
// of one record apart, and the colour-code removal.
#include "model/CodServer.h"

#include "net/QuakeProtocol.h"
#include "net/StatusAnswer.h"

#include <QElapsedTimer>
#include <QScopeGuard>

namespace {

// The record setter that each field of a status answer goes to. The host name is
// not here: the record learns it apart, as it may not replace a name the user typed.
using Setter = void (CodServer::*)(const QString&);
const std::pair<StatusAnswer::Field, Setter> fieldSetters[] = {
    {StatusAnswer::Admin, &CodServer::setServerAdmin},
    {StatusAnswer::Email, &CodServer::setServerEmail},
    {StatusAnswer::Location, &CodServer::setServerLocation},
    {StatusAnswer::WebSite, &CodServer::setServerWebSite},
    {StatusAnswer::Gametype, &CodServer::setServerGametype},
    {StatusAnswer::GameName, &CodServer::setServerGameName},
    {StatusAnswer::MapName, &CodServer::setServerMapName},
    {StatusAnswer::FriendlyFire, &CodServer::setServerFriendlyFire},
    {StatusAnswer::KillCam, &CodServer::setServerKillCam},
    {StatusAnswer::ShortVersion, &CodServer::setServerShortVersion},
    {StatusAnswer::Protocol, &CodServer::setServerProtocol},
    {StatusAnswer::MaxClients, &CodServer::setServerMaxClients},
    {StatusAnswer::PunkBuster, &CodServer::setServerPunkBuster},
    {StatusAnswer::Pure, &CodServer::setServerPure},
    {StatusAnswer::PassActive, &CodServer::setServerPassActive},
};

void applyStatusAnswer(CodServer& server, const StatusAnswer& answer)
{
    for (const auto& [field, setter] : fieldSetters) {
        if (const std::optional<QString> value = answer.value(field))
            (server.*setter)(*value);
    }
    const std::optional<QString> hostName = answer.value(StatusAnswer::HostName);
    if (hostName)
        server.learnHostName(*hostName);
    server.setServerPlayers(answer.players());
    server.setServerRules(answer.rules());
}

}  // namespace

bool CodServer::runAsOnlyRefresh(const std::function<void()>& query)
{
    if (!beginRefresh())
        return false;
    const auto endOfRefresh = qScopeGuard([this] { endRefresh(); });
    query();
    return true;
}

bool CodServer::beginRefresh()
{
    return !refreshUnderWay.exchange(true);
}

void CodServer::endRefresh()
{
    refreshUnderWay = false;
}

void CodServer::serverRefresh()
{
    runAsOnlyRefresh([this] { queryStatus(); });
}

bool CodServer::refreshTryingUt2004()
{
    return runAsOnlyRefresh([this] {
        queryStatus();
        if (commError() == Unreachable)
            queryUt2004();
    });
}

void CodServer::queryStatus()
{
    mapListingWanted = false;
    clearStatusFields();
    setServerPlayers({});
    QElapsedTimer roundTrip;
    roundTrip.start();
    const QString answer = sendCommandToServer(QString(), QuakeProtocol::StatusQuery);
    if (commError() == Unreachable) {
        statusUnanswered();
        return;
    }
    statusAnswered(answer, static_cast<double>(roundTrip.nsecsElapsed()) / 1.0e6);

    if (serverPass().isEmpty() || commError() != Answered)
        return;
    mapListingWanted = true;
    cfgListRefresh();
}

void CodServer::statusAnswered(const QString& answer, double roundTripMilliseconds)
{
    clearStatusFields();
    setCommError(Answered);
    setServerPing(QString::asprintf("Ping: %3.0f ms", roundTripMilliseconds));
    setLastUpdate(QDateTime::currentDateTime());
    applyStatusAnswer(*this, StatusAnswer::parse(answer));
}

void CodServer::statusUnanswered()
{
    clearStatusFields();
    setServerPlayers({});
    setCommError(Unreachable);
    setServerPing(QStringLiteral("Ping: --- ms"));
}

QString CodServer::clearColoredName(const QString& name)
{
    const auto isColourCodeAt = [&name](qsizetype i) {
        return name.at(i) == u'^' && i + 1 < name.size() && name.at(i + 1) >= u'0' && name.at(i + 1) <= u'9';
    };
    // Most names hold no colour code: they share the coloured name's text.
    if (!name.contains(u'^'))
        return name;
    QString cleared;
    cleared.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isColourCodeAt(i))
            ++i;
        else
            cleared.append(name.at(i));
    }
    return cleared;
}
