#pragma once

#include "model/CodServer.h"
#include "net/PacedScan.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

class ScanEngine;

// One refresh of a list of favourites (or of watched servers) on the scan engine: the
// status queries of all of them go out at once, at the engine's pace and with its retries, and each answer
// fills its favourite as it comes. The favourites that stay silent are then tried as
// UT2004 servers, several at a time, while the configuration listings of the
// answering favourites whose rcon password the user holds follow one server at a
// time.
//
// Each favourite is marked as being refreshed from the start until its own refresh
// is over, so that no other refresh of it runs meanwhile; one that another refresh
// holds already is left to that one.
class FavouritesRefresh {
public:
    // A favourite's refresh changed what it shows; nameBefore is its name before the
    // run. Called on any of the run's threads.
    using Refreshed = std::function<void(const CodServerPtr& favourite, const QString& nameBefore)>;

    FavouritesRefresh(ScanEngine& engine, ScanSettings settings);

    // Refreshes the favourites and returns once every refresh is over, or soon after
    // a stop was asked for. Blocks its thread: run it on a worker.
    void run(const QList<CodServerPtr>& favourites, std::stop_token stop, const Refreshed& refreshed);

private:
    struct Favourite {
        CodServerPtr server;
        QString nameBefore;
        std::optional<ServerAddress> address;
        bool answered = false;
    };

    static std::vector<Favourite> claim(const QList<CodServerPtr>& favourites);
    static void lookUpAddresses(std::vector<Favourite>& claimed);
    void queryStatus(std::vector<Favourite>& claimed, std::stop_token stop, const Refreshed& refreshed);
    static void tryAsUt2004(const std::vector<Favourite>& silent, std::stop_token stop, const Refreshed& refreshed);
    static void listConfigurations(const std::vector<Favourite>& answered, std::stop_token stop);

    ScanEngine& engine;
    const ScanSettings settings;
};
