#include "app/FavoritesTableModel.h"

#include "admin/ServerSummary.h"
#include "app/ServerPasteboard.h"
#include "app/Zorvel.h"
#include "model/ServerFields.h"
#include "platform/PaletteColours.h"
#include "platform/PlainTextTip.h"

#include <QColor>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString plainTextType = QStringLiteral("text/plain");

// The desktop's named colours.
const QColor grey = QColor::fromRgbF(0.5, 0.5, 0.5);
const QColor blue = QColor::fromRgbF(0.0, 0.0, 1.0);
const QColor black = QColor::fromRgbF(0.0, 0.0, 0.0);
const QColor red = QColor::fromRgbF(1.0, 0.0, 0.0);
const QColor purple = QColor::fromRgbF(0.5, 0.0, 0.5);
// The ground of the favourites whose rcon password the user holds.
const QColor lightGrey = QColor::fromRgbF(0.9, 0.9, 0.9);

}  // namespace

FavoritesTableModel::FavoritesTableModel(Zorvel& controller, QList<Column> columns, QObject* parent)
    : RecordTableModel(std::move(columns), parent)
    , controller(controller)
{
}

int FavoritesTableModel::numberOfRows() const
{
    return controller.favourites().count();
}

QVariant FavoritesTableModel::objectValue(int row, const QString& columnIdentifier, int role) const
{
    const CodServerPtr server = controller.favourites().serverAt(row);
    if (!server)
        return {};
    if (columnIdentifier == u"GameIcon") {
        const QPixmap icon = controller.gameImageOf(*server);
        return role == Qt::DecorationRole && !icon.isNull() ? QVariant(icon) : QVariant();
    }
    switch (role) {
    case Qt::DisplayRole: {
        // The column's title says "Ping": the cell holds the time alone.
        if (columnIdentifier == u"serverPing")
            return ServerSummary::pingTime(server->serverPing());
        const ServerFields::Text field = ServerFields::named(columnIdentifier);
        return field ? QVariant((server.get()->*field)()) : QVariant();
    }
    case Qt::ToolTipRole:
        return tipOf(*server, columnIdentifier);
    case Qt::ForegroundRole:
        return textColour(*server);
    case Qt::BackgroundRole:
        return server->serverPassOwner() ? QVariant(PaletteColours::groundOn(lightGrey, QGuiApplication::palette()))
                                         : QVariant();
    default:
        return {};
    }
}

QVariant FavoritesTableModel::tipOf(const CodServer& server, const QString& columnIdentifier)
{
    if (columnIdentifier == u"serverName") {
        const QString hostName = server.serverHostName();
        if (!hostName.isEmpty() && hostName != server.serverName())
            return PlainTextTip::of(QStringLiteral("Server name: %1").arg(hostName));
    } else if (columnIdentifier == u"serverIp") {
        const QString resolved = server.serverResolvedIp();
        if (!resolved.isEmpty())
            return PlainTextTip::of(QStringLiteral("Found at %1").arg(resolved));
    }
    return {};
}

QVariant FavoritesTableModel::textColour(const CodServer& server) const
{
    const QColor colour = stateColour(server);
    return colour.isValid() ? QVariant(PaletteColours::textOn(colour, QGuiApplication::palette())) : QVariant();
}

QColor FavoritesTableModel::stateColour(const CodServer& server) const
{
    switch (server.commError()) {
    case CodServer::NeverContacted:
        return grey;
    case CodServer::Answered:
        return server.serverHasPlayer(controller.playerNameToFind()) ? blue : black;
    case CodServer::Unreachable:
        return red;
    case CodServer::RconFailed:
        return purple;
    default:
        return {};
    }
}

Qt::ItemFlags FavoritesTableModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = RecordTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags | Qt::ItemIsDropEnabled;
}

QStringList FavoritesTableModel::mimeTypes() const
{
    return {plainTextType};
}

QMimeData* FavoritesTableModel::mimeData(const QModelIndexList& indexes) const
{
    const auto first = std::min_element(indexes.cbegin(), indexes.cend(),
                                        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    const CodServerPtr server = first == indexes.cend() ? nullptr : controller.favourites().serverAt(first->row());
    if (!server)
        return nullptr;
    auto* data = new QMimeData;
    data->setText(server->serverIp());
    ownDrag = data;
    return data;
}

Qt::DropActions FavoritesTableModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

bool FavoritesTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex&) const
{
    return data && data->hasText();
}

bool FavoritesTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                       const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent) || !dropAddress(*data, dropRow(row, parent)))
        return false;
    controller.favouritesWereDropped();
    return true;
}

int FavoritesTableModel::dropRow(int row, const QModelIndex& parent) const
{
    if (parent.isValid())
        return parent.row();
    return row >= 0 ? row : controller.favourites().count();
}

bool FavoritesTableModel::dropAddress(const QMimeData& data, int row)
{
    FavouritesList& favourites = controller.favourites();
    if (ownDrag.data() == &data)
        return favourites.moveServer(data.text(), row);
    const CodServerPtr server = ServerPasteboard::favouriteWithAddress(data.text());
    return server && favourites.insertServer(server, row);
}
