#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Turns a master server's answer to "getservers" into the list text "a.b.c.d:port;"
// per server. Pure logic: the datagrams come from a callback (empty when none arrived
// in time), so the same code serves the socket, the tests and the fuzzers.
class MasterListDecoder {
public:
    using ReceiveNext = std::function<QByteArray()>;

    // The most datagrams one exchange reads. A master that keeps sending would
    // otherwise hold the exchange forever, since each datagram restarts the wait for
    // the next. A real list never comes near this: even at twenty servers a datagram
    // (masters fit well over a hundred) it would list some forty thousand servers,
    // several times any master's list.
    static constexpr int maximumDatagrams = 2048;

    struct Decoded {
        // The datagram is a list answer: "getserversResponse" before its first zero byte.
        bool isListAnswer = false;
        // Its servers in datagram order, each "a.b.c.d:port;".
        QString addresses;
    };

    // One datagram. Records begin at its first backslash (from its second byte on):
    // a backslash, four address bytes and two port bytes, in network order. Reading
    // stops at a record that does not lie wholly within the datagram, at one that
    // does not begin with a backslash, and at the end markers "\EOT" and "\EOF".
    static Decoded decode(QByteArrayView datagram);

    // The whole list: the addresses of every list answer in the order received, until
    // no datagram comes in time, one that is not a list answer arrives (it adds
    // nothing), or maximumDatagrams have been read. "\EOT" and "\EOF" end only their
    // own datagram: under UDP the datagrams of a list may arrive in any order.
    static QString collect(const ReceiveNext& receiveNext);
};
