#include "app/FavouritesStore.h"

#include "app/FavouritesList.h"
#include "platform/Preferences.h"
#include "platform/PrivateFile.h"
#include "model/ServerArchive.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

const QString myServersKey = QStringLiteral("myServers");
// The addresses of the favourites whose name the user typed. The archive holds three
// texts per record, and lists stored before this key existed load unchanged.
const QString namedByUserKey = QStringLiteral("Favourite servers named by the user");

QStringList addressesNamedByUser(const QList<CodServerPtr>& servers)
{
    QStringList addresses;
    for (const CodServerPtr& server : servers) {
        if (server->serverNameTyped())
            addresses.append(server->serverIp());
    }
    return addresses;
}

// The names of the dated copies kept of damaged favourites.
const QString favouritesCopyName = QStringLiteral("favourites");
const QString recoveryCopyName = QStringLiteral("unsaved-favourites");

}  // namespace

FavouritesStore::Loaded FavouritesStore::load(const QByteArray& presetArchive)
{
    Loaded loaded = read(presetArchive);
    if (!loaded.damaged)
        return loaded;
    damagedValue.content = Preferences::standard().storedBytesForKey(myServersKey);
    keepCopyOf(damagedValue, favouritesCopyName);
    loaded.copyPath = damagedValue.copyPath;
    return loaded;
}

FavouritesStore::Loaded FavouritesStore::read(const QByteArray& presetArchive)
{
    const QList<CodServerPtr> preset = ServerArchive::unarchiveServerList(presetArchive).value_or(QList<CodServerPtr>());
    const std::optional<QByteArray> stored = Preferences::standard().storedBytesForKey(myServersKey);
    const QStringList namedByUser = Preferences::standard().stringListForKey(namedByUserKey);
    if (!stored)
        return {.servers = favouritesFrom(preset, namedByUser)};
    ServerArchive::ReadableList readable = ServerArchive::readableServerList(*stored);
    if (readable.whole)
        return {.servers = favouritesFrom(std::move(readable.servers), namedByUser)};
    qWarning().noquote() << "The stored list of favourite servers is damaged:" << readable.servers.size()
                         << "of its servers could be read";
    // With nothing read, the run starts as a first one does.
    const QList<CodServerPtr> servers = readable.servers.isEmpty() ? preset : readable.servers;
    return {favouritesFrom(servers, namedByUser), true, readable.unreadable};
}

bool FavouritesStore::store(const QList<CodServerPtr>& servers)
{
    Preferences& store = Preferences::standard();
    return keepCopyOf(damagedValue, favouritesCopyName)
        && store.setObject(ServerArchive::archiveServerList(servers), myServersKey)
        && store.setObject(addressesNamedByUser(servers), namedByUserKey);
}

bool FavouritesStore::keepCopyOf(Damaged& damaged, const QString& what)
{
    if (!damaged.content || damaged.copyPath)
        return true;
    damaged.copyPath = PrivateFile::keepDatedCopy(Preferences::standard().filePath(), what, *damaged.content);
    return damaged.copyPath.has_value();
}

// The names the user typed in this run go beside the copy: the stored list of them
// changes only when the list is stored.
bool FavouritesStore::keepRecoveryCopy(const QList<CodServerPtr>& servers)
{
    if (keepCopyOf(damagedRecoveryCopy, recoveryCopyName)
        && PrivateFile::write(recoveryCopyPath(), ServerArchive::archiveServerList(servers))
        && PrivateFile::write(recoveryNamesPath(), addressesNamedByUser(servers).join(u'\n').toUtf8()))
        return true;
    qWarning().noquote() << "The unsaved favourite servers could not be kept in" << recoveryCopyPath();
    return false;
}

std::optional<FavouritesStore::Loaded> FavouritesStore::recoveryCopy()
{
    QFile file(recoveryCopyPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    ServerArchive::ReadableList readable = ServerArchive::readableServerList(content);
    if (!readable.whole && readable.servers.isEmpty())
        return std::nullopt;
    const QStringList namedByUser = recoveryNamedByUser();
    if (readable.whole)
        return Loaded{.servers = favouritesFrom(std::move(readable.servers), namedByUser)};
    damagedRecoveryCopy.content = content;
    keepCopyOf(damagedRecoveryCopy, recoveryCopyName);
    return Loaded{favouritesFrom(std::move(readable.servers), namedByUser), true, readable.unreadable,
                  damagedRecoveryCopy.copyPath};
}

// A copy left by a version that kept no names beside it takes the stored ones.
QStringList FavouritesStore::recoveryNamedByUser()
{
    QFile names(recoveryNamesPath());
    if (!names.open(QIODevice::ReadOnly))
        return Preferences::standard().stringListForKey(namedByUserKey);
    return QString::fromUtf8(names.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void FavouritesStore::discardRecoveryCopy() const
{
    QFile::remove(recoveryCopyPath());
    QFile::remove(recoveryNamesPath());
}

QString FavouritesStore::recoveryCopyPath()
{
    const QFileInfo settings(Preferences::standard().filePath());
    return QStringLiteral("%1/%2-unsaved-favourites").arg(settings.absolutePath(), settings.completeBaseName());
}

QString FavouritesStore::recoveryNamesPath()
{
    return recoveryCopyPath() + QStringLiteral("-named-by-user");
}

QList<CodServerPtr> FavouritesStore::favouritesFrom(QList<CodServerPtr> servers, const QStringList& namedByUser)
{
    for (const CodServerPtr& server : servers) {
        FavouritesList::markPasswordHeld(*server);
        server->setServerNameTyped(namedByUser.contains(server->serverIp()));
    }
    return servers;
}
