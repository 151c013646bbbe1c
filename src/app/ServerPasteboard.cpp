#include "app/ServerPasteboard.h"

#include "app/AddressValidator.h"
#include "app/FavouritesList.h"
#include "model/ServerArchive.h"

#include <QMimeData>

#include <algorithm>

const QString ServerPasteboard::codServerType = QStringLiteral("CodServer");
const QString ServerPasteboard::namedByUserType = QStringLiteral("CodServerNamedByUser");

QMimeData* ServerPasteboard::clipboardData(const CodServer& server)
{
    auto* data = new QMimeData;
    data->setText(server.serverIp());
    data->setData(codServerType, ServerArchive::archiveServer(server));
    if (server.serverNameTyped())
        data->setData(namedByUserType, {});
    return data;
}

CodServerPtr ServerPasteboard::favouriteFrom(const QMimeData& data)
{
    if (!data.hasFormat(codServerType))
        return favouriteWithAddress(data.text());
    // A record copied in Zorvel comes back whole, also a favourite stored under older
    // address rules that the validator now refuses: it was cut, and must not be lost.
    CodServerPtr server = ServerArchive::unarchiveServer(data.data(codServerType));
    if (!server || !couldBeAddress(server->serverIp()))
        return nullptr;
    FavouritesList::markPasswordHeld(*server);
    server->setServerNameTyped(data.hasFormat(namedByUserType));
    return server;
}

CodServerPtr ServerPasteboard::favouriteWithAddress(const QString& text)
{
    const QString address = text.trimmed();
    return AddressValidator::isValid(address) ? FavouritesList::newFavourite(address, {}, {}) : nullptr;
}

bool ServerPasteboard::couldBeAddress(const QString& text)
{
    const auto isBlankOrControl = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    return !text.isEmpty() && std::none_of(text.begin(), text.end(), isBlankOrControl);
}
