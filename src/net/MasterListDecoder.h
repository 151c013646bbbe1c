#pragma once

#include "net/ServerAddress.h"

#include <QByteArrayView>
#include <QList>

// Reads a master server's answer to "getservers": the servers one datagram lists.
// Pure logic over the datagram's bytes, so the scan, the tests and the fuzzers share it.
class MasterListDecoder {
public:
    // How the datagram's records end.
    enum class Ending {
        // Without a marker: the datagram simply ends (or holds something else).
        None,
        // "\EOT" alone: this datagram ends, more of the list follows.
        Datagram,
        // "\EOT" followed by a zero byte, or "\EOF": the whole list ends here.
        List,
    };

    struct Decoded {
        // The datagram is a list answer: "getserversResponse" before its first zero byte.
        bool isListAnswer = false;
        // Its servers in datagram order.
        QList<ServerAddress> servers;
        Ending ending = Ending::None;
    };

    // One datagram. Records begin at its first backslash (from its second byte on):
    // a backslash, the entry prefix (none for most masters), four address bytes and
    // two port bytes, in network order. Reading stops at a record that does not lie
    // wholly within the datagram, at one that does not begin with the backslash and
    // the prefix, and at the end markers "\EOT" and "\EOF".
    static Decoded decode(QByteArrayView datagram, QByteArrayView entryPrefix = {});
    // The server of one whole entry: the six address and port bytes at its end.
    static ServerAddress addressAtEnd(QByteArrayView entry);
};
