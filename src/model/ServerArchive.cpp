#include "model/ServerArchive.h"

#include "model/ArchiveStream.h"

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
    ReadableList readable = readableServerList(data);
    if (!readable.whole)
        return std::nullopt;
    return std::move(readable.servers);
}

ServerArchive::ReadableList ServerArchive::readableServerList(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(ArchiveStream::version);
    quint32 count = 0;
    in >> count;
    // Records are read as long as they come, whatever the count says: it is damaged
    // as easily as they are, and it is not trusted with memory.
    ReadableList readable;
    while (in.status() == QDataStream::Ok && !in.atEnd()) {
        CodServerPtr server = CodServer::initWithCoder(in);
        if (!server)
            break;
        readable.servers.append(server);
    }
    const quint32 read = quint32(readable.servers.size());
    readable.whole = read == count && ArchiveStream::consumedWhole(in);
    if (count > read)
        readable.unreadable = count - read;
    return readable;
}
