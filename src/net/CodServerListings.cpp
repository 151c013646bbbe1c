// The remote map and configuration listings of a server record.
#include "model/CodServer.h"

#include "model/GameCatalogue.h"
#include "model/GameKind.h"
#include "net/ListingFilter.h"
#include "net/MapListListener.h"
#include "net/QuakeProtocol.h"

// Each listing installs a new, empty list before it asks, so the list is empty while
// the exchange runs and stays empty when it fails.

bool CodServer::listsFiles() const
{
    const GameDescription* game = GameCatalogue::standard().gameOf(serverGameName(), serverRules());
    return !game || game->admin.mapListing.has_value();
}

void CodServer::cfgListRefresh()
{
    setCfgList({});
    const QString answer = sendCommandToServer(ListingFilter::configCommand(), QuakeProtocol::RconCommand);
    setCfgList(ListingFilter::configNames(answer));
}

void CodServer::mapListRefresh()
{
    setMapList({});
    // The seed's games list their maps as they always did; the others as the catalogue says.
    std::optional<ListingFilter::MapListing> listing = ListingFilter::mapListingOf(gameKindOf(serverGameName()));
    if (!listing)
        listing = ListingFilter::mapListingOf(GameCatalogue::standard().gameOf(serverGameName(), serverRules()));
    if (!listing)
        return;
    const QString answer = sendCommandToServer(listing->command, QuakeProtocol::RconCommand);
    setMapList(ListingFilter::mapNames(*listing, answer));
    MapListListener::mapListRefreshed(shared_from_this());
}
