#pragma once

#include "model/CodServer.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The byte form of records on the clipboard and of the favourites in the store: a
// QDataStream of pinned version holding, for each record, its name, address and rcon
// password. A list is its count followed by its records.
class ServerArchive {
public:
    static QByteArray archiveServer(const CodServer& server);
    static CodServerPtr unarchiveServer(const QByteArray& data);

    static QByteArray archiveServerList(const QList<CodServerPtr>& servers);
    // The list read back, or nothing when the data is damaged, truncated, or carries
    // bytes after the last record.
    static std::optional<QList<CodServerPtr>> unarchiveServerList(const QByteArray& data);
};
