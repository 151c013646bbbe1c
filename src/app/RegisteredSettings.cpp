#include "app/RegisteredSettings.h"

#include "history/HistoryRecords.h"
#include "model/ServerArchive.h"
#include "net/PendingQueries.h"
#include "platform/Preferences.h"

#include <limits>

namespace {

using Type = Setting::Type;

constexpr int anyPositive = std::numeric_limits<int>::max();
// The receive time-out is the microseconds part of a wait whose seconds are 0, so it
// stays below one second; below a millisecond no server could ever answer in time.
constexpr int shortestTimeout = 1000;
constexpr int longestTimeout = 999999;
// The refresh timer counts milliseconds in an int.
constexpr int longestRefreshDelay = std::numeric_limits<int>::max() / 1000;
// A latency above 10 counts as milliseconds: up to 10 seconds either way.
constexpr int longestLatency = 10000;

Setting text(const QString& key, const QString& value)
{
    return {key, value, Type::Text};
}

// The favourite a first start shows: a server on this computer, at the default
// port of the Call of Duty games, without rcon password.
CodServerPtr presetFavourite()
{
    CodServerPtr server = CodServer::create();
    server->setServerName(QStringLiteral("Local server"));
    server->setServerIp(QStringLiteral("127.0.0.1:28960"));
    return server;
}

}  // namespace

QByteArray RegisteredSettings::registerWithStandardStore()
{
    const QByteArray presetArchive = ServerArchive::archiveServerList({presetFavourite()});
    Preferences::standard().registerDefaults(table(presetArchive));
    return presetArchive;
}

QList<Setting> RegisteredSettings::table(const QByteArray& presetFavourites)
{
    return {
        {QStringLiteral("myServers"), presetFavourites, Type::Data},
        {QStringLiteral("Refresh server when selected"), false, Type::Boolean},
        {QStringLiteral("Auto Refresh"), false, Type::Boolean},
        {QStringLiteral("Latency for double command"), QStringLiteral("500 ms"), Type::NumberedText, 0,
         longestLatency},
        {QStringLiteral("Timeout"), 500000, Type::Integer, shortestTimeout, longestTimeout},
        {QStringLiteral("Number of servers by thread"), 250, Type::Integer, 1, anyPositive},
        // How many times a master scan asks a silent server, the first query included.
        {QStringLiteral("Scan tries"), 3, Type::Integer, 1, PendingQueries::mostTries},
        {QStringLiteral("Refresh delay in seconds"), 600, Type::Integer, 1, longestRefreshDelay},
        // How long the history of servers keeps the answers of favourites (and watched
        // servers) and of scans (and the finders), and how large it may grow.
        {QStringLiteral("History days for favourites"), 90, Type::Integer, 1, HistoryRetention::longestDays},
        {QStringLiteral("History days for scans"), 14, Type::Integer, 1, HistoryRetention::longestDays},
        {QStringLiteral("History size limit in MB"), 200, Type::Integer, 1, HistoryRetention::largestSizeMegabytes},
        // The master servers the games themselves ask for their server lists. Their
        // texts are taken as the user typed them: a scan tells when one is unusable.
        text(QStringLiteral("CoD Master Server"), QStringLiteral("codmaster.activision.com")),
        text(QStringLiteral("CoD Master Server Port"), QStringLiteral("20510")),
        text(QStringLiteral("CoD Master Server Protocol"), QStringLiteral("6")),
        text(QStringLiteral("UO Master Server"), QStringLiteral("coduomaster.activision.com")),
        text(QStringLiteral("UO Master Server Port"), QStringLiteral("20610")),
        text(QStringLiteral("UO Master Server Protocol"), QStringLiteral("22")),
        text(QStringLiteral("CoD2 Master Server"), QStringLiteral("cod2master.activision.com")),
        text(QStringLiteral("CoD2 Master Server Port"), QStringLiteral("20710")),
        text(QStringLiteral("CoD2 Master Server Protocol"), QStringLiteral("115")),
        text(QStringLiteral("CoD4 Master Server"), QStringLiteral("cod4master.activision.com")),
        text(QStringLiteral("CoD4 Master Server Port"), QStringLiteral("20810")),
        text(QStringLiteral("CoD4 Master Server Protocol"), QStringLiteral("4")),
        // Where "Find servers on this network" sends its query: a dotted IPv4 address.
        text(QStringLiteral("LAN Broadcast Address"), QStringLiteral("255.255.255.255")),
    };
}
