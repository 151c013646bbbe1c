#pragma once

#include "cli/AddressArgument.h"
#include "cli/QueriedServer.h"

#include <QList>

// Queries servers once each, as a favourite's refresh does (the status query, then the
// UT2004 query where that finds nothing), all at the same time: each on a thread of
// its own, up to maximumInFlight at once. A host name is looked up once, on the
// server's thread. Blocks until every query ended.
class ServerQueries {
public:
    struct Target {
        // The address text as asked for.
        QString asked;
        // Where to query; nothing to query the record's own address (a favourite's).
        std::optional<AddressArgument> address;
        // The record to refresh: a favourite's keeps its name and rcon password.
        CodServerPtr record;
    };

    static constexpr int maximumInFlight = 256;

    static QList<QueriedServer> run(const QList<Target>& targets);

private:
    static QueriedServer query(const Target& target);
};
