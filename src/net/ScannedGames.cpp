#include "net/ScannedGames.h"

#include "net/QuakeProtocol.h"

const QList<ScannedGame>& ScannedGames::all()
{
    using namespace QuakeProtocol;
    static const QList<ScannedGame> games = {
        {"cod", "Call of Duty", CodMasterList, "CoD Master Server", "CoD Master Server Port"},
        {"uo", "United Offensive", UOMasterList, "UO Master Server", "UO Master Server Port"},
        {"cod2", "Call of Duty 2", Cod2MasterList, "CoD2 Master Server", "CoD2 Master Server Port"},
        {"cod4", "Call of Duty 4", Cod4MasterList, "CoD4 Master Server", "CoD4 Master Server Port"},
    };
    return games;
}

const ScannedGame* ScannedGames::find(const QString& id)
{
    for (const ScannedGame& game : all()) {
        if (game.id == id)
            return &game;
    }
    return nullptr;
}
