#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

#include <netinet/in.h>

// The IPv4 address and UDP port of a game server or master, as a master's list gives
// them and as a scan matches an answer to its query.
struct ServerAddress {
    // Both in host order.
    quint32 ip = 0;
    quint16 port = 0;

    // One number per address and port, for tables keyed by the address.
    quint64 key() const { return quint64{ip} << 16 | port; }
    // "a.b.c.d:port", the form of an address text everywhere in Zorvel.
    QString text() const;
    // Whether a game server can be there: not in 0.0.0.0/8 (which reaches this
    // computer), not multicast, reserved or broadcast, and not port 0.
    bool canBeServer() const;

    sockaddr_in socketAddress() const;
    static ServerAddress of(const sockaddr_in& address);
    // The address (host order) of four decimal numbers from 0 to 255 separated by dots,
    // leading zeros allowed and read as decimal ("10.0.0.010" is 10.0.0.10); nothing
    // for any other text.
    static std::optional<quint32> ipOfDottedDecimal(QStringView host);
    // Whether the text is a host name to look up: dot-separated labels of ASCII letters,
    // digits and inner hyphens, with a letter somewhere ("cod4.example.org", "localhost").
    static bool isHostName(QStringView host);
    // The port of a text of decimal digits alone from 1 to 65535, leading zeros allowed;
    // nothing for any other text.
    static std::optional<quint16> portOfDecimal(QStringView text);

    bool operator==(const ServerAddress&) const = default;
};
