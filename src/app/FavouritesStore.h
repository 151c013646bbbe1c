#pragma once

#include "model/CodServer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Where the favourites are kept between runs: the stored list under "myServers",
// which changes only when the user says so, and beside the settings a recovery copy
// of a list changed in this run but not stored yet, which a run that ends without
// the quit prompt (a crash, a kill, the end of the desktop session) leaves behind.
class FavouritesStore {
public:
    // What start-up found in the store, or in the recovery copy.
    struct Loaded {
        QList<CodServerPtr> servers;
        // The value was damaged: `servers` holds the records read before the damage.
        bool damaged = false;
        // How many stored records could not be read, when the list's count says.
        std::optional<quint32> unreadable = {};
        // The copy kept of the damaged value; nothing when none could be written.
        std::optional<QString> copyPath = {};
    };

    // Reads the stored list record by record, or the preset one when none is stored.
    // A damaged value is first copied into a dated file beside the settings.
    Loaded load(const QByteArray& presetArchive);
    // The same reading, writing nothing: a damaged value is only logged.
    static Loaded read(const QByteArray& presetArchive);
    // Stores the list. False when it was not written, or while a damaged stored value
    // could not be copied (a store tries that again first): nothing replaces it before.
    bool store(const QList<CodServerPtr>& servers);

    // Writes the recovery copy of a list that differs from the stored one. False when
    // it was not written, or while a damaged recovery copy could not be copied:
    // nothing replaces it before.
    bool keepRecoveryCopy(const QList<CodServerPtr>& servers);
    // The favourites of a recovery copy left by an earlier run, as many as can be
    // read; nothing without one, or when nothing of it can be read. A damaged copy is
    // first copied into a dated file beside the settings.
    std::optional<Loaded> recoveryCopy();
    void discardRecoveryCopy() const;
    static QString recoveryCopyPath();
    // The addresses of the favourites whose name the user typed, beside the copy.
    static QString recoveryNamesPath();

private:
    // Bytes found damaged, kept in a dated copy before anything replaces them.
    struct Damaged {
        std::optional<QByteArray> content;
        std::optional<QString> copyPath;
    };

    // Copies the damaged bytes beside the settings once; false while they cannot be.
    static bool keepCopyOf(Damaged& damaged, const QString& what);
    // The records marked as ones whose rcon password the user holds when they have one,
    // and as named by the user when the list of such addresses has theirs.
    static QList<CodServerPtr> favouritesFrom(QList<CodServerPtr> servers, const QStringList& namedByUser);
    static QStringList recoveryNamedByUser();

    Damaged damagedValue;
    Damaged damagedRecoveryCopy;
};
