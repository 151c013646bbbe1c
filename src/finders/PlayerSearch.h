#pragma once

#include "finders/PlayerFound.h"

#include <QList>
#include <QString>

// A player search over the games' master lists that remembers what it went over. While
// a scan runs a list only grows at its end, so searching the same text again after a
// hand-over goes over the servers appended since; the others' results are kept.
class PlayerSearch {
public:
    // One list per game, by tag.
    using GameLists = QList<QList<CodServerPtr>>;

    // The results of the text over the lists, game after game in list order, as
    // PlayerFound::searchPlayerInArray gives them over the lists joined.
    QList<PlayerFound> resultsFor(const QString& text, const GameLists& lists);
    // Forgets what was searched, so that the next search goes over the whole lists:
    // the players of a server searched before may have changed since.
    void forget();

private:
    struct GameSearch {
        QList<CodServerPtr> searched;
        QList<PlayerFound> found;
    };

    void searchGame(const QString& text, const QList<CodServerPtr>& list, GameSearch& game);

    QString searchedText;
    QList<GameSearch> games;
};
