// The status query of a server record: the refresh, the guard that keeps two refreshes
// of one record apart, and the colour-code removal.
#include "model/CodServer.h"

#include "net/QuakeProtocol.h"
#include "net/StatusAnswer.h"

#include <QElapsedTimer>
#include <QScopeGuard>

#include <algorithm>

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

    if (serverPass().isEmpty() || commError() != Answered || !listsFiles())
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

namespace {

// The length of the colour code at `at`, 0 where none starts there.
qsizetype colourCodeLength(const QString& name, qsizetype at, GameDescription::ColourDialect dialect)
{
    const auto isHexDigit = [&name](qsizetype i) {
        if (i >= name.size())
            return false;
        const char16_t c = name.at(i).unicode();
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if (name.at(at) != u'^' || at + 1 >= name.size())
        return 0;
    const QChar next = name.at(at + 1);
    if (next >= u'0' && next <= u'9')
        return 2;
    if (dialect == GameDescription::ColourDialect::DarkPlaces && next == u'x' && isHexDigit(at + 2)
        && isHexDigit(at + 3) && isHexDigit(at + 4))
        return 5;
    return 0;
}

}  // namespace

QString CodServer::clearColoredName(const QString& name, GameDescription::ColourDialect dialect)
{
    // Most names hold no colour code: they share the coloured name's text.
    if (!name.contains(u'^'))
        return name;
    QString cleared;
    cleared.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype codeLength = colourCodeLength(name, i, dialect);
        if (codeLength == 0)
            cleared.append(name.at(i));
        i += std::max<qsizetype>(codeLength, 1);
    }
    return cleared;
}
