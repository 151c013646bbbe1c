#pragma once

#include "net/ServerAddress.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <variant>

// An address as the command line takes it: "a.b.c.d:port" or "host:port", and for a
// master also with "udp://" or "tcp://" before it. Pure: text in, address or the
// reason it is none out.
struct AddressArgument {
    enum class Transport { Udp, Tcp };

    // The dotted address or the host name, as given.
    QString host;
    quint16 port = 0;
    Transport transport = Transport::Udp;
    // Whether the host is a dotted IPv4 address, which needs no look-up.
    bool dotted = false;

    enum class Schemes { Refused, Allowed };
    // The address, or what is wrong with the text.
    static std::variant<AddressArgument, QString> parse(const QString& text, Schemes schemes);

    // The address with its host looked up (once, blocking); nothing when the name
    // has no IPv4 address.
    std::optional<ServerAddress> resolve() const;
};
