#include "model/ServerArchive.h"

#include "model/ArchiveStream.h"

namespace {

// A record is at least three 4-byte string lengths.
constexpr qint64 smallestRecordBytes = 12;

}  // namespace

QByteArray ServerArchive::archiveServer(const CodServer& server)
{
    return ArchiveStream::archived([&server](QDataStream& out) { server.encodeWithCoder(out); });
}

CodServerPtr ServerArchive::unarchiveServer(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(ArchiveStream::version);
    CodServerPtr server = CodServer::initWithCoder(in);
    return ArchiveStream::consumedWhole(in) ? server : nullptr;
}

QByteArray ServerArchive::archiveServerList(const QList<CodServerPtr>& servers)
{
    return ArchiveStream::archived([&servers](QDataStream& out) {
        out << quint32(servers.size());
        for (const CodServerPtr& server : servers)
            server->encodeWithCoder(out);
    });
}

std::optional<QList<CodServerPtr>> ServerArchive::unarchiveServerList(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(ArchiveStream::version);
    const std::optional<quint32> count = ArchiveStream::readCount(in, smallestRecordBytes);
    if (!count)
        return std::nullopt;
    QList<CodServerPtr> servers;
    servers.reserve(*count);
    for (quint32 i = 0; i < *count; ++i) {
        CodServerPtr server = CodServer::initWithCoder(in);
        if (!server)
            return std::nullopt;
        servers.append(server);
    }
    if (!ArchiveStream::consumedWhole(in))
        return std::nullopt;
    return servers;
}
