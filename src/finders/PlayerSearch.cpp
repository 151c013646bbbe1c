#include "finders/PlayerSearch.h"

#include "finders/ListStart.h"

QList<PlayerFound> PlayerSearch::resultsFor(const QString& text, const GameLists& lists)
{
    if (text != searchedText) {
        forget();
        searchedText = text;
    }
    games.resize(lists.size());
    QList<PlayerFound> results;
    for (qsizetype game = 0; game < games.size(); ++game) {
        searchGame(text, lists[game], games[game]);
        results += games[game].found;
    }
    return results;
}

void PlayerSearch::forget()
{
    searchedText.clear();
    games.clear();
}

void PlayerSearch::searchGame(const QString& text, const QList<CodServerPtr>& list, GameSearch& game)
{
    if (!ListStart::holds(list, game.searched))
        game = {};
    game.found += PlayerFound::searchPlayerInArray(text, list.mid(game.searched.size()));
    game.searched = list;
}
