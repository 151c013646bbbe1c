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
    // What can be read of a stored list, record by record.
    struct ReadableList {
        // The records read back in order, up to the first damaged one.
        QList<CodServerPtr> servers;
        // Whether the data was a whole list with nothing after its last record.
        bool whole = false;
        // How many records the list counted beyond those read back; nothing when it
        // counted no more (its count is damaged, or damage follows its last record).
        std::optional<quint32> unreadable;
    };

    static QByteArray archiveServer(const CodServer& server);
    static CodServerPtr unarchiveServer(const QByteArray& data);

    static QByteArray archiveServerList(const QList<CodServerPtr>& servers);
    // The list read back, or nothing when the data is damaged, truncated, or carries
    // bytes after the last record.
    static std::optional<QList<CodServerPtr>> unarchiveServerList(const QByteArray& data);
    // Reads every record that can be read: a list cut short or damaged in its middle
    // still gives the records before the damage.
    static ReadableList readableServerList(const QByteArray& data);
};
