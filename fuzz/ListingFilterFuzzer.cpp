// Every "fdir" answer goes through the map and configuration filters of every game:
// no input may crash them, and each name they give comes from a line of the answer.
#include "FuzzInput.h"

#include "net/ListingFilter.h"

#include <QSet>

using FuzzInput::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString answer = FuzzInput::answerOf(data, size);
    const QStringList lineList = answer.split(u'\n');
    const QSet<QString> lines(lineList.cbegin(), lineList.cend());

    for (GameKind kind : {GameKind::CoD, GameKind::UO, GameKind::CoD2, GameKind::CoD4, GameKind::UrbanTerror,
                          GameKind::ET, GameKind::UT2004, GameKind::Unknown}) {
        const std::optional<ListingFilter::MapListing> listing = ListingFilter::mapListingOf(kind);
        if (!listing)
            continue;
        const QStringList names = ListingFilter::mapNames(*listing, answer);
        require(names.size() <= lineList.size());
        for (const QString& name : names) {
            require(lines.contains(listing->prefix + name + u'.' + listing->extension));
            require(!listing->excludedNames.contains(name));
        }
    }

    const QStringList configs = ListingFilter::configNames(answer);
    require(configs.size() <= lineList.size());
    for (const QString& name : configs) {
        require(lines.contains(u'/' + name));
        require(name != QStringLiteral("language.cfg") && name != QStringLiteral("config_mp_server.cfg"));
    }
    return 0;
}
