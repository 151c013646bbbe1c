#pragma once

#include "net/ServerAddress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Reads the list a master sends as one TCP stream, as it arrives in pieces of any
// size: each entry is a backslash, the entry prefix, four address bytes and two port
// bytes in network order; bytes that begin no entry (a header, markers) are skipped.
// At most maximumBytes of a stream are read. Pure logic, for the scan and the fuzzers.
class MasterStreamReader {
public:
    // Far beyond any real list (an entry takes 12 bytes: some five million servers),
    // and a bound on what a master that never stops can make a scan read.
    static constexpr qint64 maximumBytes = qint64{64} << 20;

    explicit MasterStreamReader(const QByteArray& entryPrefix);

    // The servers whose entries these bytes complete, in order; bytes past the bound
    // are not read.
    QList<ServerAddress> take(QByteArrayView bytes);
    // The bound was reached: the rest of the stream is not read.
    bool isFull() const { return total >= maximumBytes; }
    qint64 bytesRead() const { return total; }

private:
    // Where the next entry may begin in pending, at or after `from`.
    qsizetype nextEntryStart(qsizetype from) const;
    // Whether pending, from `at` to its end, can still grow into an entry.
    bool couldBeginEntry(qsizetype at) const;

    // The backslash and the prefix that begin every entry.
    const QByteArray entryStart;
    const qsizetype entryLength;
    // The bytes of an entry not yet complete; always shorter than an entry.
    QByteArray pending;
    qint64 total = 0;
};
