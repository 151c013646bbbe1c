#pragma once

#include "platform/RecordTableModel.h"

#include <QColor>
#include <QPointer>

class CodServer;
class Zorvel;

// The favourites table: one row per favourite of the controller, in list order. The
// column "GameIcon" shows the icon of the server's game; every other column shows
// the server field its identifier names ("serverName", "serverIp", "serverPing", ...),
// in the colour of the server's last outcome, on a light grey ground when the user
// holds the server's rcon password.
//
// Rows are dragged as their address in plain text. A drop always lands between two
// rows: a favourite dragged from this table moves there, an address dropped from
// anywhere else becomes a new favourite there; afterwards the selection follows the
// current server.
class FavoritesTableModel : public RecordTableModel {
    Q_OBJECT
public:
    FavoritesTableModel(Zorvel& controller, QList<Column> columns, QObject* parent);

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // The address of the first of the rows.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

protected:
    int numberOfRows() const override;
    QVariant objectValue(int row, const QString& columnIdentifier, int role) const override;

private:
    // The text colour of the server's row, made readable on the application's palette.
    QVariant textColour(const CodServer& server) const;
    // The server's own name on the name of a favourite the user named otherwise, and
    // the address a host name was found at on the address.
    static QVariant tipOf(const CodServer& server, const QString& columnIdentifier);
    // The colour of the server's state on a light desktop; invalid for an unknown state.
    QColor stateColour(const CodServer& server) const;
    // The row a drop lands above: the row dropped on, or the end of the list.
    int dropRow(int row, const QModelIndex& parent) const;
    bool dropAddress(const QMimeData& data, int row);

    Zorvel& controller;
    // The data of the drag this table started last, to tell its own drags apart.
    mutable QPointer<QMimeData> ownDrag;
};
