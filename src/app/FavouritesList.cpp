#include "app/FavouritesList.h"

FavouritesList::FavouritesList(QList<CodServerPtr> servers)
    : list(std::move(servers))
{
}

QList<CodServerPtr> FavouritesList::servers() const
{
    std::lock_guard guard(listLock);
    return list;
}

int FavouritesList::count() const
{
    std::lock_guard guard(listLock);
    return int(list.size());
}

CodServerPtr FavouritesList::serverAt(int row) const
{
    std::lock_guard guard(listLock);
    return holdsRow(row) ? list.at(row) : nullptr;
}

int FavouritesList::indexOfServerIp(const QString& ip) const
{
    std::lock_guard guard(listLock);
    return indexOfServerIpInList(ip, list);
}

int FavouritesList::indexOfServer(const CodServer& server) const
{
    std::lock_guard guard(listLock);
    return indexOfServerInList(server, list);
}

bool FavouritesList::insertServer(const CodServerPtr& server, int row)
{
    std::lock_guard guard(listLock);
    if (row < 0 || row > list.size() || indexOfServerIpInList(server->serverIp(), list) >= 0)
        return false;
    list.insert(row, server);
    return true;
}

bool FavouritesList::appendServer(const CodServerPtr& server)
{
    std::lock_guard guard(listLock);
    if (indexOfServerIpInList(server->serverIp(), list) >= 0)
        return false;
    list.append(server);
    return true;
}

bool FavouritesList::moveServer(const QString& ip, int toRow)
{
    std::lock_guard guard(listLock);
    const int from = indexOfServerIpInList(ip, list);
    if (from < 0 || toRow < 0 || toRow > list.size() || toRow == from || toRow == from + 1)
        return false;
    list.insert(toRow, list.at(from));
    list.removeAt(toRow > from ? from : from + 1);
    return true;
}

bool FavouritesList::modifyServer(int row, const QString& ip, const QString& name, const QString& pass)
{
    std::lock_guard guard(listLock);
    if (!holdsRow(row))
        return false;
    CodServer& server = *list.at(row);
    if (ip != server.serverIp() && indexOfServerIpInList(ip, list) >= 0)
        return false;
    // A name left as the sheet showed it stays the server's own until the user types one.
    server.setServerNameTyped(!name.isEmpty() && (server.serverNameTyped() || name != server.serverName()));
    server.setServerName(name);
    server.setServerPass(pass);
    server.setServerIp(ip);
    markPasswordHeld(server);
    return true;
}

bool FavouritesList::removeServer(int row)
{
    std::lock_guard guard(listLock);
    if (!holdsRow(row))
        return false;
    list.removeAt(row);
    return true;
}

void FavouritesList::replaceServers(QList<CodServerPtr> servers)
{
    std::lock_guard guard(listLock);
    list = std::move(servers);
}

CodServerPtr FavouritesList::newFavourite(const QString& ip, const QString& name, const QString& pass)
{
    CodServerPtr server = CodServer::create();
    server->setServerIp(ip);
    server->setServerName(name);
    server->setServerPass(pass);
    markPasswordHeld(*server);
    return server;
}

void FavouritesList::markPasswordHeld(CodServer& server)
{
    server.setServerPassOwner(!server.serverPass().isEmpty());
}

int FavouritesList::indexOfServerIpInList(const QString& ip, const QList<CodServerPtr>& list)
{
    const auto found = std::find_if(list.cbegin(), list.cend(),
                                    [&ip](const CodServerPtr& server) { return server->serverIp() == ip; });
    return found == list.cend() ? -1 : int(found - list.cbegin());
}

int FavouritesList::indexOfServerInList(const CodServer& server, const QList<CodServerPtr>& list)
{
    const auto found = std::find_if(list.cbegin(), list.cend(),
                                    [&server](const CodServerPtr& candidate) { return server.isEqual(*candidate); });
    return found == list.cend() ? -1 : int(found - list.cbegin());
}
