#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Joins answers that a game server splits over several datagrams. Pure logic: the
// next datagram comes from a callback (empty when none arrived in time), so the same
// code serves the socket, the tests and the fuzzers.
class AnswerAssembly {
public:
    using ReceiveNext = std::function<QString()>;

    struct Result {
        QString answer;
        bool complete = false;
    };

    // An "fdir" listing: at most two datagrams, the tail one ("files listed") put last.
    static Result assembleListing(const QString& first, const ReceiveNext& receiveNext);

    // An rcon "status" table: at most three datagrams, whatever their order, the one
    // holding the table's first line ("map:") put first and the one holding its
    // closing empty line last. Complete only with both.
    static Result assembleConsoleStatus(const QString& first, const ReceiveNext& receiveNext);

    static QString withoutHeader(const QString& datagram);
    static bool isCompleteListing(const QString& answer);
    static bool isCompleteConsoleStatus(const QString& answer);

private:
    static QString joinConsoleStatus(QStringList datagrams);
};
