#pragma once

#include <QByteArray>
#include <QDataStream>

#include <functional>
#include <optional>

// The stream format shared by every archive Zorvel stores or puts on the clipboard:
// QDataStream at a pinned version, lists written as a count then their elements.
class ArchiveStream {
public:
    static constexpr QDataStream::Version version = QDataStream::Qt_6_0;

    // The bytes that `write` puts on a fresh stream.
    static QByteArray archived(const std::function<void(QDataStream&)>& write);

    // Reads a list's element count, refusing one larger than the bytes left could
    // hold at `smallestElementBytes` each: damage, not a reason to reserve memory.
    static std::optional<quint32> readCount(QDataStream& in, qint64 smallestElementBytes);

    // True when the stream read without error and nothing is left behind.
    static bool consumedWhole(const QDataStream& in);
};
