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
    if (!stored)
        return {.servers = favouritesFrom(preset)};
    ServerArchive::ReadableList readable = ServerArchive::readableServerList(*stored);
    if (readable.whole)
        return {.servers = favouritesFrom(std::move(readable.servers))};
    qWarning().noquote() << "The stored list of favourite servers is damaged:" << readable.servers.size()
                         << "of its servers could be read";
    // With nothing read, the run starts as a first one does.
    const QList<CodServerPtr> servers = readable.servers.isEmpty() ? preset : readable.servers;
    return {favouritesFrom(servers), true, readable.unreadable};
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

bool FavouritesStore::keepRecoveryCopy(const QList<CodServerPtr>& servers)
{
    if (keepCopyOf(damagedRecoveryCopy, recoveryCopyName)
        && PrivateFile::write(recoveryCopyPath(), ServerArchive::archiveServerList(servers)))
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
    if (readable.whole)
        return Loaded{.servers = favouritesFrom(std::move(readable.servers))};
    damagedRecoveryCopy.content = content;
    keepCopyOf(damagedRecoveryCopy, recoveryCopyName);
    return Loaded{favouritesFrom(std::move(readable.servers)), true, readable.unreadable,
                  damagedRecoveryCopy.copyPath};
}

void FavouritesStore::discardRecoveryCopy() const
{
    QFile::remove(recoveryCopyPath());
}

QString FavouritesStore::recoveryCopyPath()
{
    const QFileInfo settings(Preferences::standard().filePath());
    return QStringLiteral("%1/%2-unsaved-favourites").arg(settings.absolutePath(), settings.completeBaseName());
}

QList<CodServerPtr> FavouritesStore::favouritesFrom(QList<CodServerPtr> servers)
{
    const QStringList namedByUser = Preferences::standard().stringListForKey(namedByUserKey);
    for (const CodServerPtr& server : servers) {
        FavouritesList::markPasswordHeld(*server);
        server->setServerNameTyped(namedByUser.contains(server->serverIp()));
    }
    return servers;
}
