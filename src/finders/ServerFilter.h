#pragma once

#include "finders/ServerFacts.h"
#include "model/CodServer.h"

#include <QList>
#include <QString>

// The server finder's filters, read from its controls, and the rule a server must
// pass to be shown.
struct ServerFilter {
    // The map or gametype entry that lets every server pass.
    static inline const QString all = QStringLiteral("All");

    // Held anywhere in the server's name, whatever the case; empty passes every name.
    QString name;
    bool showEmpty = false;
    bool showFull = false;
    bool hidePassword = false;
    bool onlyPunkBuster = false;
    // The whole map name or gametype, whatever the case; exactly "All" passes every one.
    QString map = all;
    QString gametype = all;
    // The highest ping in milliseconds; 0 or less is no limit.
    int pingLimit = 0;
    int minPlayers = 0;

    bool passes(const CodServer& server) const;
    bool passes(const ServerFacts& server) const;
    // Whether every server that passes this filter passes the other one too: they
    // differ at most in the name, and this name holds the other's.
    bool narrows(const ServerFilter& other) const;

    bool operator==(const ServerFilter&) const = default;

    // The ping text ("Ping: %3.0f ms" or "Ping: --- ms") without its "Ping: ".
    static QString pingTime(const QString& pingText);
    // The milliseconds of a ping text, 0 for "Ping: --- ms".
    static int pingOf(const QString& pingText);
};
