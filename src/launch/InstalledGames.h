#pragma once

#include <QSet>
#include <QString>

// Which games are installed on this machine, by their catalogue ids, as the
// application controller found them at start-up: a game one of whose launchers the
// desktop finds. A game that is not installed cannot be joined.
class InstalledGames {
public:
    InstalledGames() = default;
    explicit InstalledGames(QSet<QString> ids);

    // Asks the current desktop for every game of the catalogue.
    static InstalledGames onThisDesktop();

    bool has(const QString& gameId) const { return ids.contains(gameId); }

private:
    QSet<QString> ids;
};
