#pragma once

#include "model/CodServer.h"

#include <QString>

// What the server finder's filters read of a server, taken from its record at once:
// a filter then compares plain values, without the record's lock at every field.
struct ServerFacts {
    // The name case-folded, so that a name filter searches it as plain text.
    QString foldedName;
    qsizetype players = 0;
    // The integer values of the max-clients, password and PunkBuster texts.
    int maxClients = 0;
    int passActive = 0;
    int punkBuster = 0;
    QString map;
    QString gametype;
    // The milliseconds of the ping text, 0 when the query was not answered.
    int ping = 0;

    static ServerFacts of(const CodServer& server);
};
