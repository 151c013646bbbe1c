#include "net/ListingFilter.h"

std::optional<ListingFilter::MapListing> ListingFilter::mapListingOf(GameKind kind)
{
    switch (kind) {
    case GameKind::CoD:
    case GameKind::UO:
        return MapListing{QStringLiteral("fdir maps/mp*.bsp"), QStringLiteral("maps/mp/"), QStringLiteral("bsp"), {}};
    case GameKind::CoD2:
        return MapListing{QStringLiteral("fdir maps/mp*.d3dbsp"), QStringLiteral("maps/mp/"), QStringLiteral("d3dbsp"),
                          {}};
    case GameKind::UrbanTerror:
        return MapListing{QStringLiteral("fdir maps/ut4*.bsp"), QStringLiteral("maps/"), QStringLiteral("bsp"), {}};
    case GameKind::CoD4:
        // CoD4 maps are found through their compass images, some of which belong to
        // maps that cannot be played.
        return MapListing{QStringLiteral("fdir *map_mp*.iwi"), QStringLiteral("images/compass_map_"),
                          QStringLiteral("iwi"),
                          {QStringLiteral("mp_cellblock"), QStringLiteral("mp_dusk"), QStringLiteral("mp_facility"),
                           QStringLiteral("mp_favela"), QStringLiteral("mp_forest"), QStringLiteral("mp_invasion"),
                           QStringLiteral("mp_mansion"), QStringLiteral("mp_palace"), QStringLiteral("mp_rooftops"),
                           QStringLiteral("mp_suburbs"), QStringLiteral("mp_test")}};
    case GameKind::ET:
    case GameKind::UT2004:
    case GameKind::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<ListingFilter::MapListing> ListingFilter::mapListingOf(const GameDescription* game)
{
    if (!game || !game->admin.mapListing)
        return std::nullopt;
    const MapListingCommand& listing = *game->admin.mapListing;
    return MapListing{listing.command, listing.prefix, listing.extension, {}};
}

// The text after the last dot of the last path component; empty when it has no dot.
QString ListingFilter::extensionOf(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') ? path.mid(dot + 1) : QString();
}

QStringList ListingFilter::mapNames(const MapListing& listing, const QString& answer)
{
    QStringList names;
    for (const QString& line : answer.split(u'\n')) {
        if (!line.startsWith(listing.prefix) || extensionOf(line) != listing.extension)
            continue;
        const QString name = line.mid(listing.prefix.size()).chopped(listing.extension.size() + 1);
        if (!listing.excludedNames.contains(name))
            names.append(name);
    }
    return names;
}

QString ListingFilter::configCommand()
{
    return QStringLiteral("fdir /[a-z]*.cfg");
}

QStringList ListingFilter::configNames(const QString& answer)
{
    static const QStringList excludedLines = {
        QStringLiteral("/config_mp_server.cfg"), QStringLiteral("/uoconfig_mp_server.cfg"),
        QStringLiteral("/.cie.cfg.swp"), QStringLiteral("/language.cfg"),
    };
    QStringList names;
    for (const QString& line : answer.split(u'\n')) {
        if (line.startsWith(u'/') && !excludedLines.contains(line))
            names.append(line.mid(1));
    }
    return names;
}
