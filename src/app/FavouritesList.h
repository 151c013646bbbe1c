#pragma once

#include "model/CodServer.h"

#include <QList>

#include <mutex>

// The user's ordered list of favourite servers. No two favourites share an address
// text (compared exactly, as the record's identity): every operation that would
// make a second one refuses and changes nothing.
//
// The refresh-all worker walks the list while the UI thread edits it, so every
// operation holds the list's lock, and readers get a copy of the list or one record.
class FavouritesList {
public:
    explicit FavouritesList(QList<CodServerPtr> servers = {});

    QList<CodServerPtr> servers() const;
    int count() const;
    // The favourite at the row, or null when the row is outside the list.
    CodServerPtr serverAt(int row) const;

    // The row of the first favourite whose address text equals the address, or -1.
    int indexOfServerIp(const QString& ip) const;
    // The row of the first favourite equal to the record (same address), or -1.
    int indexOfServer(const CodServer& server) const;

    // Inserts the favourite at the row (0 to count); false when its address is taken
    // or the row is outside that range.
    bool insertServer(const CodServerPtr& server, int row);
    // Adds the favourite at the end; false when its address is taken.
    bool appendServer(const CodServerPtr& server);
    // Moves the favourite with the address so that it ends just above the favourite
    // that stood at the row (count: at the end). False when no favourite has the
    // address, the row is outside the list, or the order would stay the same.
    bool moveServer(const QString& ip, int toRow);
    // Gives the favourite at the row a new address, name and password; false when
    // the row is outside the list or another favourite has the new address. The name
    // counts as typed by the user when it is not empty and was typed before or differs
    // from the one the favourite had.
    bool modifyServer(int row, const QString& ip, const QString& name, const QString& pass);
    // Removes the favourite at the row; false when the row is outside the list.
    bool removeServer(int row);
    // Puts another list in the place of this one.
    void replaceServers(QList<CodServerPtr> servers);

    // A new favourite with the address, name and password.
    static CodServerPtr newFavourite(const QString& ip, const QString& name, const QString& pass);
    // The user holds a server's rcon password exactly when the record has one.
    static void markPasswordHeld(CodServer& server);

    // The row of the first record in the list with the address text, or -1.
    static int indexOfServerIpInList(const QString& ip, const QList<CodServerPtr>& list);
    // The row of the first record in the list equal to the record, or -1.
    static int indexOfServerInList(const CodServer& server, const QList<CodServerPtr>& list);

private:
    bool holdsRow(int row) const { return row >= 0 && row < list.size(); }

    mutable std::mutex listLock;
    QList<CodServerPtr> list;
};
