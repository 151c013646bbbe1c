#pragma once

#include "finders/PlayerFound.h"
#include "model/CodServer.h"

#include <QString>

// A master list's server as its status answer left it, for the finders' tests.
struct FinderServer {
    QString name = QStringLiteral("Server");
    QString ip = QStringLiteral("127.0.0.1:28960");
    QString map = QStringLiteral("mp_carentan");
    QString gametype = QStringLiteral("dm");
    int players = 1;
    QString maxClients = QStringLiteral("20");
    QString passActive = QStringLiteral("0");
    QString punkBuster = QStringLiteral("0");
    QString ping = QStringLiteral("Ping:  50 ms");
    QString gameName = QStringLiteral("Call of Duty");

    CodServerPtr make() const;
};

// A player whose colour-free name is the text.
CodPlayerPtr finderPlayer(const QString& name);

// The server with players of these colour-free names.
CodServerPtr serverWithPlayers(const FinderServer& look, const QStringList& names);

// The colour-free names of the players found, in order.
QStringList namesFound(const QList<PlayerFound>& found);
