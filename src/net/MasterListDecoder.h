#pragma once

#include "net/ServerAddress.h"

#include <QByteArrayView>
#include <QList>

// Reads a master server's answer to "getservers": the servers one datagram lists.
// Pure logic over the datagram's bytes, so the scan, the tests and the fuzzers share it.
class MasterListDecoder {
public:
    struct Decoded {
        // The datagram is a list answer: "getserversResponse" before its first zero byte.
        bool isListAnswer = false;
        // Its servers in datagram order.
        QList<ServerAddress> servers;
    };

    // One datagram. Records begin at its first backslash (from its second byte on):
    // a backslash, four address bytes and two port bytes, in network order. Reading
    // stops at a record that does not lie wholly within the datagram, at one that
    // does not begin with a backslash, and at the end markers "\EOT" and "\EOF".
    static Decoded decode(QByteArrayView datagram);
};
