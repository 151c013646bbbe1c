#include "model/ArchiveStream.h"

#include <QIODevice>

QByteArray ArchiveStream::archived(const std::function<void(QDataStream&)>& write)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(version);
    write(out);
    return data;
}

std::optional<quint32> ArchiveStream::readCount(QDataStream& in, qint64 smallestElementBytes)
{
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    const qint64 left = in.device()->bytesAvailable();
    if (static_cast<qint64>(count) > left / smallestElementBytes)
        return std::nullopt;
    return count;
}

bool ArchiveStream::consumedWhole(const QDataStream& in)
{
    return in.status() == QDataStream::Ok && in.atEnd();
}
