#pragma once

#include "model/CodServer.h"

#include <QString>

#include <optional>

// A server the command line queried, and what its record says once the query ended,
// read as the commands report it: numbers as numbers, nothing where the server told
// nothing (or did not answer).
class QueriedServer {
public:
    // The address text as it was asked for, and the record that was refreshed; a host
    // name that did not resolve leaves the record never contacted.
    QueriedServer(QString askedAddress, CodServerPtr server, bool hostFound = true);

    QString address() const { return askedAddress; }
    const CodServerPtr& record() const { return server; }

    // Answered with a status (or UT2004 information): a datagram that carries no key
    // at all is no status answer.
    bool isUp() const;
    // "no answer", "bad answer" or "host not found"; nothing when up.
    std::optional<QString> error() const;
    // "cod", "uo", "cod2", "cod4", "urt", "et", "ut2004"; nothing for another game.
    std::optional<QString> game() const;
    std::optional<qint64> pingMilliseconds() const;
    // The name without and with colour codes.
    std::optional<QString> name() const;
    std::optional<QString> rawName() const;
    std::optional<QString> map() const;
    std::optional<QString> gametype() const;
    std::optional<qint64> players() const;
    std::optional<qint64> maxPlayers() const;
    std::optional<bool> password() const;
    std::optional<bool> punkBuster() const;
    std::optional<QString> version() const;

private:
    // The text when the server is up and the text is not empty.
    std::optional<QString> answered(const QString& text) const;
    std::optional<qint64> answeredNumber(const QString& text) const;

    QString askedAddress;
    CodServerPtr server;
    bool hostFound;
};
