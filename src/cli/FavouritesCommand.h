#pragma once

#include "cli/Command.h"
#include "cli/ServerQueries.h"

// "zorvel favourites": refreshes the stored favourites, reading the store alone, and
// prints them as "query" does.
class FavouritesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("favourites"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;

    // The stored favourites (or the preset list before any was stored), read without
    // writing anything, as new records with their names and addresses: no rcon
    // password, so that their refresh sends no console command.
    static QList<ServerQueries::Target> storedFavourites();
};
