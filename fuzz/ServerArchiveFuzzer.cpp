// Stored favourites and pasted records come back through the archive decoder: no
// input may crash it, whatever it accepts whole must archive back to the same bytes,
// and a list read record by record gives, when cut short, the records it gave before
// the cut.
#include "FuzzInput.h"
#include "model/ServerArchive.h"

namespace {

QStringList fieldsOf(const QList<CodServerPtr>& servers)
{
    QStringList fields;
    for (const CodServerPtr& server : servers)
        fields << server->serverName() << server->serverIp() << server->serverPass();
    return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using FuzzInput::require;
    const QByteArray bytes = FuzzInput::bytesOf(data, size);
    const ServerArchive::ReadableList readable = ServerArchive::readableServerList(bytes);
    require(readable.servers.size() <= bytes.size() / 12);
    require(ServerArchive::unarchiveServerList(bytes).has_value() == readable.whole);
    if (readable.whole)
        require(ServerArchive::archiveServerList(readable.servers) == bytes);

    const QStringList beforeTheCut = fieldsOf(ServerArchive::readableServerList(bytes.left(bytes.size() / 2)).servers);
    require(fieldsOf(readable.servers).mid(0, beforeTheCut.size()) == beforeTheCut);

    if (const CodServerPtr server = ServerArchive::unarchiveServer(bytes))
        require(ServerArchive::archiveServer(*server) == bytes);
    return 0;
}
