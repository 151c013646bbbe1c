#include "model/ServerArchive.h"

#include <QDataStream>
#include <QIODevice>

#include <functional>

namespace {

constexpr QDataStream::Version archiveVersion = QDataStream::Qt_6_0;
// Each record needs at least three 4-byte string lengths: a count larger than the
// data could hold is damage, not a reason to reserve memory.
constexpr qint64 smallestRecordBytes = 12;

QByteArray archived(const std::function<void(QDataStream&)>& write)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(archiveVersion);
    write(out);
    return data;
}

bool consumedWhole(const QDataStream& in)
{
    return in.status() == QDataStream::Ok && in.atEnd();
}

}  // namespace

QByteArray ServerArchive::archiveServer(const CodServer& server)
{
    return archived([&server](QDataStream& out) { server.encodeWithCoder(out); });
}

CodServerPtr ServerArchive::unarchiveServer(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(archiveVersion);
    CodServerPtr server = CodServer::initWithCoder(in);
    return consumedWhole(in) ? server : nullptr;
}

QByteArray ServerArchive::archiveServerList(const QList<CodServerPtr>& servers)
{
    return archived([&servers](QDataStream& out) {
        out << quint32(servers.size());
        for (const CodServerPtr& server : servers)
            server->encodeWithCoder(out);
    });
}

std::optional<QList<CodServerPtr>> ServerArchive::unarchiveServerList(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(archiveVersion);
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > data.size() / smallestRecordBytes)
        return std::nullopt;
    QList<CodServerPtr> servers;
    servers.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        CodServerPtr server = CodServer::initWithCoder(in);
        if (!server)
            return std::nullopt;
        servers.append(server);
    }
    if (!consumedWhole(in))
        return std::nullopt;
    return servers;
}
