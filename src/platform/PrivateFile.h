#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files that only their owner may read, since they may hold rcon passwords: the
// settings file, the recovery copy of unsaved favourites and the copies kept of
// damaged settings. None is ever readable by others, not even for an instant.
class PrivateFile {
public:
    // What the file holds; nothing when it cannot be read.
    static QByteArray contentOf(const QString& path);
    // Creates the file empty, and its folder, when it does not exist yet.
    static void createEmpty(const QString& path);
    // Replaces the file's content as a whole: a crash leaves the old content or the new
    // one, never a mix. False when it could not be written.
    static bool write(const QString& path, const QByteArray& data);
    // Writes the data into a new file beside `neighbour`, named after it, what it holds
    // and today's date ("Zorvel-favourites-2024-05-01.damaged"), never over an existing
    // file. When the newest such copy holds the same data, no other is written and
    // that copy's path is given. The copy's path, or nothing when it could not be
    // written.
    static std::optional<QString> keepDatedCopy(const QString& neighbour, const QString& what,
                                                const QByteArray& data);
    // Restricts an existing file to its owner.
    static void restrictToOwner(const QString& path);
};
