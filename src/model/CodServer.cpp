#include "model/CodServer.h"

#include <QDataStream>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

CodServer::CodServer()
    : m_lastUpdate(QDateTime::currentDateTime())
{
}

CodServer::CodServer(Restored)
{
}

CodServerPtr CodServer::create()
{
    return std::make_shared<CodServer>();
}

QString CodServer::text(TextField field) const
{
    std::lock_guard guard(fieldsLock);
    return texts[field];
}

void CodServer::setText(TextField field, const QString& value)
{
    std::lock_guard guard(fieldsLock);
    texts[field] = value;
}

int CodServer::commError() const
{
    std::lock_guard guard(fieldsLock);
    return m_commError;
}

bool CodServer::serverPassOwner() const
{
    std::lock_guard guard(fieldsLock);
    return m_serverPassOwner;
}

QList<CodPlayerPtr> CodServer::serverPlayers() const
{
    std::lock_guard guard(fieldsLock);
    return m_serverPlayers;
}

ServerRules CodServer::serverRules() const
{
    std::lock_guard guard(fieldsLock);
    return m_serverRules;
}

QStringList CodServer::cfgList() const
{
    std::lock_guard guard(fieldsLock);
    return m_cfgList;
}

QStringList CodServer::mapList() const
{
    std::lock_guard guard(fieldsLock);
    return m_mapList;
}

std::optional<QDateTime> CodServer::lastUpdate() const
{
    std::lock_guard guard(fieldsLock);
    return m_lastUpdate;
}

QString CodServer::lastUpdateText() const
{
    const std::optional<QDateTime> when = lastUpdate();
    if (!when)
        return {};
    // The locale's short date and its time with seconds, without the time zone its
    // long time format names: a refresh is told to the second, in local time.
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(when->date(), QLocale::ShortFormat) + u' ' + locale.toString(when->time(), timeFormat);
}

QString CodServer::serverName() const { return text(Name); }
QString CodServer::serverIp() const { return text(Ip); }
QString CodServer::serverPass() const { return text(Pass); }
QString CodServer::serverPing() const { return text(Ping); }
QString CodServer::serverAdmin() const { return text(Admin); }
QString CodServer::serverEmail() const { return text(Email); }
QString CodServer::serverGametype() const { return text(Gametype); }
QString CodServer::serverGameName() const { return text(GameName); }
QString CodServer::serverLocation() const { return text(Location); }
QString CodServer::serverMapName() const { return text(MapName); }
QString CodServer::serverFriendlyFire() const { return text(FriendlyFire); }
QString CodServer::serverKillCam() const { return text(KillCam); }
QString CodServer::serverShortVersion() const { return text(ShortVersion); }
QString CodServer::serverMaxClients() const { return text(MaxClients); }
QString CodServer::serverPunkBuster() const { return text(PunkBuster); }
QString CodServer::serverPure() const { return text(Pure); }
QString CodServer::serverWebSite() const { return text(WebSite); }
QString CodServer::serverPassActive() const { return text(PassActive); }
QString CodServer::serverProtocol() const { return text(Protocol); }

QString CodServer::serverHostName() const { return text(HostName); }
QString CodServer::serverResolvedIp() const { return text(ResolvedIp); }
void CodServer::setServerResolvedIp(const QString& value) { setText(ResolvedIp, value); }

bool CodServer::serverNameTyped() const
{
    std::lock_guard guard(fieldsLock);
    return m_serverNameTyped;
}

void CodServer::setServerNameTyped(bool value)
{
    std::lock_guard guard(fieldsLock);
    m_serverNameTyped = value;
}

void CodServer::learnHostName(const QString& hostName)
{
    std::lock_guard guard(fieldsLock);
    texts[HostName] = hostName;
    if (!m_serverNameTyped)
        texts[Name] = hostName;
}

QString CodServer::shownName() const
{
    const QString name = serverName();
    return name.isEmpty() ? serverIp() : name;
}

void CodServer::setCommError(int value)
{
    std::lock_guard guard(fieldsLock);
    m_commError = value;
}

void CodServer::setServerPassOwner(bool value)
{
    std::lock_guard guard(fieldsLock);
    m_serverPassOwner = value;
}

void CodServer::setServerPlayers(const QList<CodPlayerPtr>& value)
{
    std::lock_guard guard(fieldsLock);
    m_serverPlayers = value;
}

void CodServer::setServerRules(const ServerRules& value)
{
    std::lock_guard guard(fieldsLock);
    m_serverRules = value;
}

void CodServer::setLastUpdate(const QDateTime& value)
{
    std::lock_guard guard(fieldsLock);
    m_lastUpdate = value;
}

void CodServer::setCfgList(const QStringList& value)
{
    std::lock_guard guard(fieldsLock);
    m_cfgList = value;
}

void CodServer::setMapList(const QStringList& value)
{
    std::lock_guard guard(fieldsLock);
    m_mapList = value;
}

void CodServer::clearStatusFields()
{
    static_assert(Protocol - Admin + 1 == 15, "the status fields are Admin to Protocol");
    std::lock_guard guard(fieldsLock);
    for (int field = Admin; field <= Protocol; ++field)
        texts[field] = QString();
    m_serverRules.clear();
}

void CodServer::setServerName(const QString& value) { setText(Name, value); }
void CodServer::setServerIp(const QString& value) { setText(Ip, value); }
void CodServer::setServerPass(const QString& value) { setText(Pass, value); }
void CodServer::setServerPing(const QString& value) { setText(Ping, value); }
void CodServer::setServerAdmin(const QString& value) { setText(Admin, value); }
void CodServer::setServerEmail(const QString& value) { setText(Email, value); }
void CodServer::setServerGametype(const QString& value) { setText(Gametype, value); }
void CodServer::setServerGameName(const QString& value) { setText(GameName, value); }
void CodServer::setServerLocation(const QString& value) { setText(Location, value); }
void CodServer::setServerMapName(const QString& value) { setText(MapName, value); }
void CodServer::setServerFriendlyFire(const QString& value) { setText(FriendlyFire, value); }
void CodServer::setServerKillCam(const QString& value) { setText(KillCam, value); }
void CodServer::setServerShortVersion(const QString& value) { setText(ShortVersion, value); }
void CodServer::setServerMaxClients(const QString& value) { setText(MaxClients, value); }
void CodServer::setServerPunkBuster(const QString& value) { setText(PunkBuster, value); }
void CodServer::setServerPure(const QString& value) { setText(Pure, value); }
void CodServer::setServerWebSite(const QString& value) { setText(WebSite, value); }
void CodServer::setServerPassActive(const QString& value) { setText(PassActive, value); }
void CodServer::setServerProtocol(const QString& value) { setText(Protocol, value); }

bool CodServer::isEqual(const CodServer& other) const
{
    return serverIp() == other.serverIp();
}

bool CodServer::serverHasPlayer(const QString& text) const
{
    if (text.isEmpty())
        return false;
    const QList<CodPlayerPtr> players = serverPlayers();
    return std::any_of(players.cbegin(), players.cend(), [&text](const CodPlayerPtr& player) {
        return player->playerName().contains(text, Qt::CaseInsensitive);
    });
}

int CodServer::refusalsLeftBeforeForgettingPass() const
{
    std::lock_guard guard(fieldsLock);
    return refusalsThatClearPass - badRconCounter;
}

bool CodServer::countBadRconAnswer()
{
    std::lock_guard guard(fieldsLock);
    if (++badRconCounter < refusalsThatClearPass)
        return false;
    badRconCounter = 0;
    texts[Pass] = QString();
    return true;
}

void CodServer::encodeWithCoder(QDataStream& out) const
{
    out << serverName() << serverIp() << serverPass();
}

CodServerPtr CodServer::initWithCoder(QDataStream& in)
{
    QString name;
    QString ip;
    QString pass;
    in >> name >> ip >> pass;
    if (in.status() != QDataStream::Ok)
        return nullptr;
    auto server = std::make_shared<CodServer>(Restored{});
    server->texts[Name] = name;
    server->texts[Ip] = ip;
    server->texts[Pass] = pass;
    return server;
}

size_t qHash(const CodServer& server, size_t seed)
{
    return qHash(server.serverIp(), seed);
}
