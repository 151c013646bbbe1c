// The remote map and configuration listings of a server record.
#include "model/CodServer.h"

#include "model/GameKind.h"
#include "net/ListingFilter.h"
#include "net/MapListListener.h"
#include "net/QuakeProtocol.h"

// Each listing installs a new, empty list before it asks, so the list is empty while
// the exchange runs and stays empty when it fails.

void CodServer::cfgListRefresh()
{
    setCfgList({});
    const QString answer = sendCommandToServer(ListingFilter::configCommand(), QuakeProtocol::RconCommand);
    setCfgList(ListingFilter::configNames(answer));
}

void CodServer::mapListRefresh()
{
    setMapList({});
    const std::optional<ListingFilter::MapListing> listing = ListingFilter::mapListingOf(gameKindOf(serverGameName()));
    if (!listing)
        return;
    const QString answer = sendCommandToServer(listing->command, QuakeProtocol::RconCommand);
    setMapList(ListingFilter::mapNames(*listing, answer));
    MapListListener::mapListRefreshed(shared_from_this());
}
