#pragma once

#include "model/GameDescription.h"
#include "net/ServerAddress.h"

#include <QByteArray>
#include <QString>

// One master that a scan asks for its list: where it is, how it is asked and how
// the entries of its answer are laid out. A scan may ask several masters (and one
// master with several protocols); the servers they list are merged and each is
// queried once.
struct MasterSource {
    enum class Transport { Udp, Tcp };

    // The master as the user knows it ("host:port"), for the outcome shown per master.
    QString label;
    ServerAddress address;
    Transport transport = Transport::Udp;
    // The request's bytes: one datagram over UDP, the stream's opening over TCP.
    QByteArray request;
    // The bytes between each entry's backslash and its four address bytes: none for
    // the usual lists, 00 00 00 00 04 for the TCP masters of CoD4x servers.
    QByteArray entryPrefix;
    // How the master tells that its list is complete. With "eot", any "\EOT" ends
    // it; otherwise a "\EOT" alone ends only its datagram, and a list that marks its
    // datagrams so but falls silent without "\EOT" and zero bytes (or "\EOF") lost
    // its end.
    MasterDescription::ListEnd listEnd = MasterDescription::ListEnd::EndOfTransmissionWithNul;

    bool operator==(const MasterSource&) const = default;
};
