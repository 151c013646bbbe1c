#include "finders/MasterGames.h"

#include "app/Zorvel.h"

namespace MasterGames {

const std::array<MasterGame, count>& all()
{
    static const std::array<MasterGame, count> games = {{
        {&Zorvel::scanCodServers, &Zorvel::scanCodServersStop, &Zorvel::codRefreshState},
        {&Zorvel::scanUOServers, &Zorvel::scanUOServersStop, &Zorvel::uoRefreshState},
        {&Zorvel::scanCod2Servers, &Zorvel::scanCod2ServersStop, &Zorvel::cod2RefreshState},
        {&Zorvel::scanCod4Servers, &Zorvel::scanCod4ServersStop, &Zorvel::cod4RefreshState},
    }};
    return games;
}

bool anyScanRuns(const Zorvel& controller)
{
    const auto& games = all();
    return std::any_of(games.cbegin(), games.cend(),
                       [&controller](const MasterGame& game) { return (controller.*game.refreshState)(); });
}

}  // namespace MasterGames
