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

}  // namespace

FavouritesStore::Loaded FavouritesStore::load(const QByteArray& presetArchive)
{
    Loaded loaded = read(presetArchive);
    if (!loaded.damaged)
        return loaded;
    damagedValue = Preferences::standard().storedBytesForKey(myServersKey);
    keepCopyOfDamagedValue();
    loaded.copyPath = damagedValueCopy;
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
    return keepCopyOfDamagedValue()
        && Preferences::standard().setObject(ServerArchive::archiveServerList(servers), myServersKey);
}

bool FavouritesStore::keepCopyOfDamagedValue()
{
    if (!damagedValue || damagedValueCopy)
        return true;
    damagedValueCopy =
        PrivateFile::keepDatedCopy(Preferences::standard().filePath(), QStringLiteral("favourites"), *damagedValue);
    return damagedValueCopy.has_value();
}

void FavouritesStore::keepRecoveryCopy(const QList<CodServerPtr>& servers) const
{
    if (!PrivateFile::write(recoveryCopyPath(), ServerArchive::archiveServerList(servers)))
        qWarning().noquote() << "The unsaved favourite servers could not be kept in" << recoveryCopyPath();
}

std::optional<QList<CodServerPtr>> FavouritesStore::recoveryCopy() const
{
    QFile file(recoveryCopyPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ServerArchive::ReadableList readable = ServerArchive::readableServerList(file.readAll());
    if (!readable.whole && readable.servers.isEmpty())
        return std::nullopt;
    return favouritesFrom(std::move(readable.servers));
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
    for (const CodServerPtr& server : servers)
        FavouritesList::markPasswordHeld(*server);
    return servers;
}
