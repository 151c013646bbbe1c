#pragma once

#include <array>

class Zorvel;

// The four games whose master servers are scanned, in the order the finders show them
// and the controller hands their lists over: CoD, UO, CoD2, CoD4. A finder's game tag
// is the position in this table.
struct MasterGame {
    void (Zorvel::*scan)();
    void (Zorvel::*stop)();
    bool (Zorvel::*refreshState)() const;
};

namespace MasterGames {

constexpr int count = 4;

const std::array<MasterGame, count>& all();
// Whether the scan of any of the four games runs.
bool anyScanRuns(const Zorvel& controller);

}  // namespace MasterGames
